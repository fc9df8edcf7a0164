// The contract backend of the real Windows build: the Win32 platform, with
// fixtures arranged through the Windows API on drive D:, which the test
// runner maps to a fresh temporary folder.
#include "platform/win32/windows_api.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/contract/contract_backend.h"
#include "tools/sample_writer/runnable_sample.h"
#include "tests/contract/win32_contract_programs.h"

namespace brisko {
namespace {

[[noreturn]] void failWith(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + " failed, error " +
                             std::to_string(GetLastError()));
}

// Owns one file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) {
        other.handle_ = INVALID_HANDLE_VALUE;
    }
    FileHandle& operator=(FileHandle&&) = delete;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (isOpen()) CloseHandle(handle_);
    }

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

FileHandle openExisting(const std::string& path, DWORD access) {
    // Shares reading and writing but never deletion, as a running program's
    // image is shared.
    return FileHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// HWND_MESSAGE, the parent of message-only windows, which need no display.
const HWND kMessageOnlyParent = reinterpret_cast<HWND>(-3);
const char kWindowClass[] = "BriskoContractWindow";

using MessageCallback = std::function<void(std::uint32_t)>;

LRESULT CALLBACK callbackProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    auto* callback = reinterpret_cast<MessageCallback*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (callback != nullptr) (*callback)(id);
    return DefWindowProcA(window, id, wParam, lParam);
}

// A message-only window whose procedure calls back; destroyed with its owner.
class CallbackWindow {
public:
    explicit CallbackWindow(MessageCallback onMessage) : onMessage_(std::move(onMessage)) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = callbackProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);  // fails harmlessly once the class exists
        window_ = CreateWindowA(kWindowClass, "", 0, 0, 0, 0, 0, kMessageOnlyParent, nullptr,
                                windowClass.hInstance, nullptr);
        if (window_ == nullptr) failWith("creating", "a message-only window");
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&onMessage_));
    }
    ~CallbackWindow() { DestroyWindow(window_); }
    CallbackWindow(const CallbackWindow&) = delete;
    CallbackWindow& operator=(const CallbackWindow&) = delete;

    WindowHandle handle() const { return reinterpret_cast<WindowHandle>(window_); }

private:
    MessageCallback onMessage_;
    HWND window_ = nullptr;
};

// A hidden top-level window with a title, as FindWindowA finds it; null
// without a display to make it on.
class TitledWindow {
public:
    static std::unique_ptr<TitledWindow> show(const std::string& title) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kTitledWindowClass;
        RegisterClassA(&windowClass);  // fails harmlessly once the class exists
        HWND window = CreateWindowA(kTitledWindowClass, title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
        if (window == nullptr) return nullptr;
        return std::unique_ptr<TitledWindow>(new TitledWindow(window));
    }
    ~TitledWindow() { DestroyWindow(window_); }
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;

private:
    static constexpr const char* kTitledWindowClass = "BriskoContractTitledWindow";
    explicit TitledWindow(HWND window) : window_(window) {}
    HWND window_;
};

class Win32ContractBackend final : public ContractBackend {
public:
    Win32ContractBackend() : scratch_(newScratchFolder()) {}

    Platform& platform() override { return platform_; }
    std::string scratchFolder() override { return scratch_; }

    char unusedDriveLetter() override {
        const DWORD used = GetLogicalDrives();
        for (char letter = 'Z'; letter > 'C'; --letter) {
            if ((used & (1u << (letter - 'A'))) == 0) return letter;
        }
        throw std::runtime_error("every drive letter is in use");
    }

    void writeFile(const std::string& path, const std::string& bytes) override {
        FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.isOpen()) failWith("creating", path);
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) ||
            written != bytes.size()) {
            failWith("writing", path);
        }
    }

    void makeDirectory(const std::string& path) override {
        if (!CreateDirectoryA(path.c_str(), nullptr)) failWith("creating folder", path);
    }

    std::string readFile(const std::string& path) override {
        FileHandle file = openExisting(path, GENERIC_READ);
        std::string content;
        if (!file.isOpen()) return content;
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
            content.append(chunk, got);
        }
        return content;
    }

    void holdOpen(const std::string& path) override {
        FileHandle file = openExisting(path, GENERIC_READ);
        if (!file.isOpen()) failWith("holding open", path);
        held_.push_back(std::move(file));
    }

    void releaseHeldFiles() override { held_.clear(); }

    WindowHandle makeWindow(MessageCallback onMessage) override {
        windows_.push_back(std::make_unique<CallbackWindow>(std::move(onMessage)));
        return windows_.back()->handle();
    }

    bool showTitledWindow(const std::string& title) override {
        std::unique_ptr<TitledWindow> window = TitledWindow::show(title);
        if (window == nullptr) return false;
        titled_.push_back(std::move(window));
        return true;
    }
    void closeTitledWindows() override { titled_.clear(); }

    std::uint32_t startSleeper(const std::string& path) override { return programs_.startSleeper(path); }
    std::uint32_t startImage(const std::string& path, const std::string& bytes) override {
        writeFile(path, bytes);
        return programs_.start(path);
    }
    bool hasEnded(std::uint32_t processId) override { return programs_.hasEnded(processId); }

    // The runner tells which version it set for Wine; Wine's own is win7.
    std::string versionName() override {
        const char* version = std::getenv("BRISKO_WINE_VERSION");
        return version != nullptr && version[0] != '\0' ? version : "win7";
    }
    // A 64-bit program is examined only by a 64-bit build; a 32-bit one
    // runs in a 32-bit test program's prefix, and beside a 64-bit one where
    // the runner found that this machine runs 32-bit programs.
    bool startsProgramsFor(RunnableMachine machine) override {
        if (machine == RunnableMachine::kX86_64) return sizeof(void*) == 8;
        const char* runs = std::getenv("BRISKO_RUNS_32_BIT_PROGRAMS");
        return sizeof(void*) == 4 || (runs != nullptr && std::string(runs) == "1");
    }
    bool hasProcessPerformanceData() override { return false; }
    void startService(const std::string& name) override { programs_.startService(name, scratch_); }
    void makeMachineKey(const std::string& path) override { brisko::makeMachineKey(path); }
    bool machineKeyExists(const std::string& path) override { return brisko::machineKeyExists(path); }
    void setMachineString(const std::string& key, const std::string& name, const std::string& text) override {
        brisko::setMachineString(key, name, text);
    }
    void setMachineStringInView(const std::string& key, RegistryView view, const std::string& name,
                                const std::string& text) override {
        brisko::setMachineString(key, name, text, view);
    }

private:
    // Each backend gets a folder of its own, named after the process and a
    // count, so tests never see one another's files.
    static std::string newScratchFolder() {
        static unsigned created = 0;
        const std::string folder = "D:\\run" + std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(++created);
        if (!CreateDirectoryA(folder.c_str(), nullptr)) failWith("creating scratch", folder);
        return folder + "\\";
    }

    Win32Platform platform_;
    const std::string scratch_;
    std::vector<FileHandle> held_;
    std::vector<std::unique_ptr<CallbackWindow>> windows_;
    std::vector<std::unique_ptr<TitledWindow>> titled_;
    Win32ContractPrograms programs_;
};

}  // namespace

std::unique_ptr<ContractBackend> makeContractBackend() {
    return std::make_unique<Win32ContractBackend>();
}

}  // namespace brisko
