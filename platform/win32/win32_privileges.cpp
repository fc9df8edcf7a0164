#include "platform/win32/windows_api.h"

#include "platform/win32/owned_handle.h"
#include "platform/win32/win32_privileges.h"

#include <vector>

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

    bool actsAsAdministrator() override;

private:
    OwnedHandle token_;
};

// The token's groups, read into a buffer that grows to the size the
// system asks for; empty when they cannot be read.
std::vector<unsigned char> tokenGroupsOf(HANDLE token) {
    std::vector<unsigned char> buffer(512);
    DWORD needed = 0;
    if (GetTokenInformation(token, TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size()), &needed)) {
        return buffer;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return {};
    buffer.resize(needed);
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), needed, &needed)) return {};
    return buffer;
}

// The group list rather than CheckTokenMembership, which NT 4 lacks.
bool Win32AccessToken::actsAsAdministrator() {
    const std::vector<unsigned char> buffer = tokenGroupsOf(token_.get());
    if (buffer.empty()) return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                  0, 0, 0, &administrators)) {
        return false;
    }
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    bool acts = false;
    for (DWORD i = 0; i < groups->GroupCount && !acts; ++i) {
        const SID_AND_ATTRIBUTES& group = groups->Groups[i];
        acts = EqualSid(group.Sid, administrators) && (group.Attributes & SE_GROUP_ENABLED) != 0 &&
               (group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0;
    }
    FreeSid(administrators);
    return acts;
}

}  // namespace

std::unique_ptr<AccessToken> Win32Privileges::openOwnToken(std::uint32_t access) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), access, &token)) return nullptr;
    return std::make_unique<Win32AccessToken>(token);
}

}  // namespace brisko
