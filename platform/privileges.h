#pragma once
// The program's own access token and the privileges it enables on it.
#include <cstdint>
#include <memory>

namespace brisko {

// Token access rights, with the values Windows gives them.
constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
constexpr std::uint32_t kTokenQuery = 0x08;
// The error the system leaves when the account does not hold a privilege.
constexpr std::uint32_t kErrorNotAllAssigned = 1300;

// An opened token. Closes it when destroyed.
class AccessToken {
public:
    virtual ~AccessToken() = default;
    // Looks the privilege up by name and enables it; returns the system's
    // error code right after the adjustment (0 when every one was assigned).
    virtual std::uint32_t enablePrivilege(const char* name) = 0;
    // Whether the token's user acts as a member of the Administrators
    // group: the group is there and enabled, not kept for deny only as in
    // the filtered token of an account that has not been raised. False
    // when the token was opened without kTokenQuery.
    virtual bool actsAsAdministrator() = 0;
};

class Privileges {
public:
    virtual ~Privileges() = default;
    // The token of the running process; null when it cannot be opened.
    virtual std::unique_ptr<AccessToken> openOwnToken(std::uint32_t access) = 0;
};

}  // namespace brisko
