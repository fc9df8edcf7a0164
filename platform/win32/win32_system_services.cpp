#include "platform/win32/windows_api.h"

#include "platform/win32/win32_system_services.h"

#include "platform/win32/owned_handle.h"

namespace brisko {
namespace {

class MutexClaim final : public NamedClaim {
public:
    explicit MutexClaim(HANDLE mutex) : mutex_(mutex, nullptr) {}

private:
    OwnedHandle mutex_;
};

}  // namespace

void Win32SystemServices::sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

unsigned Win32SystemServices::windowsDirectory(char* buffer, unsigned capacity) {
    return GetWindowsDirectoryA(buffer, capacity);
}

unsigned Win32SystemServices::systemDirectory(char* buffer, unsigned capacity) {
    return GetSystemDirectoryA(buffer, capacity);
}

unsigned Win32SystemServices::temporaryDirectory(char* buffer, unsigned capacity) {
    return GetTempPathA(capacity, buffer);
}

unsigned Win32SystemServices::expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) {
    return ExpandEnvironmentStringsA(text, buffer, capacity);
}

std::unique_ptr<NamedClaim> Win32SystemServices::claimName(const char* name) {
    // The mutex is never waited on: that it exists is the claim.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (mutex == nullptr) return nullptr;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return nullptr;
    }
    return std::make_unique<MutexClaim>(mutex);
}

}  // namespace brisko
