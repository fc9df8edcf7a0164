#pragma once
// The service control manager over advapi32.
#include "platform/services.h"

namespace brisko {

class Win32Services final : public Services {
public:
    std::unique_ptr<ServiceManager> openManager(std::uint32_t access) override;
};

}  // namespace brisko
