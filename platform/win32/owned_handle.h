#pragma once
// Owners of the kernel and registry handles the backend opens, so that
// every handle is closed on every path.
#include "platform/win32/windows_api.h"

namespace brisko {

// A kernel object handle; "none" is the value its opening call returns on
// failure (null for processes and tokens, INVALID_HANDLE_VALUE for
// snapshots).
class OwnedHandle {
public:
    OwnedHandle(HANDLE handle, HANDLE none) : handle_(handle), none_(none) {}
    ~OwnedHandle() {
        if (isOpen()) CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    bool isOpen() const { return handle_ != none_; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
    HANDLE none_;
};

}  // namespace brisko
