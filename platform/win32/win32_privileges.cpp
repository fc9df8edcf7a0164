#include "platform/win32/windows_api.h"

#include "platform/win32/owned_handle.h"
#include "platform/win32/win32_privileges.h"

namespace brisko {
namespace {

class Win32AccessToken final : public AccessToken {
public:
    explicit Win32AccessToken(HANDLE token) : token_(token, nullptr) {}

    std::uint32_t enablePrivilege(const char* name) override {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid);
        // Success with ERROR_NOT_ALL_ASSIGNED left behind is how the system
        // tells that the account lacks the privilege.
        AdjustTokenPrivileges(token_.get(), FALSE, &privileges, 0, nullptr, nullptr);
        return GetLastError();
    }

private:
    OwnedHandle token_;
};

}  // namespace

std::unique_ptr<AccessToken> Win32Privileges::openOwnToken(std::uint32_t access) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), access, &token)) return nullptr;
    return std::make_unique<Win32AccessToken>(token);
}

}  // namespace brisko
