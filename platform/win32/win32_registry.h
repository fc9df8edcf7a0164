#pragma once
// The registry over the Reg*A calls of advapi32.
#include "platform/registry.h"

namespace brisko {

class Win32Registry final : public Registry {
public:
    RegistryViews softwareViews() override;
    RegistryStatus openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                  std::unique_ptr<RegistryKey>& key) override;
    RegistryStatus deleteMachineKey(const char* subkey) override;
    RegistryStatus queryPerformanceData(const char* objects, std::uint8_t* data, std::uint32_t& size) override;
    void closePerformanceData() override;
};

}  // namespace brisko
