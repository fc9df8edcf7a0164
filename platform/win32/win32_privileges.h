#pragma once
// The process token over OpenProcessToken and AdjustTokenPrivileges.
#include "platform/privileges.h"

namespace brisko {

class Win32Privileges final : public Privileges {
public:
    std::unique_ptr<AccessToken> openOwnToken(std::uint32_t access) override;
};

}  // namespace brisko
