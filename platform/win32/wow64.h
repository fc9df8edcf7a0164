#pragma once
// WoW64: the 32-bit build on 64-bit Windows. There the system shows the
// program SysWOW64 where it asks for system32, and the 32-bit view of
// HKEY_LOCAL_MACHINE\Software where it names no view.

namespace brisko {

// True for the 32-bit build on 64-bit Windows. False for the 64-bit build,
// and wherever the system has no IsWow64Process (95, 98, Me, NT 4, 2000),
// which are all 32-bit. Asked once.
bool runsUnderWow64();

// While it lives, the calling thread sees the true file system: system32 is
// the native folder and SysWOW64 only itself, so every path the scan lists,
// reports, deletes or schedules names the file it means. Does nothing where
// the program is not redirected. It covers one file-system call at a time:
// a 32-bit program cannot load the 64-bit libraries of the true system32,
// and a library load may hide in any call that shows a window.
class TrueFileSystemView {
public:
    TrueFileSystemView();
    ~TrueFileSystemView();
    TrueFileSystemView(const TrueFileSystemView&) = delete;
    TrueFileSystemView& operator=(const TrueFileSystemView&) = delete;

private:
    void* redirectionState_ = nullptr;
    bool redirectionOff_ = false;
};

}  // namespace brisko
