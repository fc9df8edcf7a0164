#pragma once
// The registry of a volume that is not running: every key is missing and
// there is no performance data. The volume's own hive files are not read.
#include "platform/registry.h"

namespace brisko::volume {

class EmptyRegistry : public Registry {
public:
    RegistryViews softwareViews() override { return {}; }
    RegistryStatus openMachineKey(const char* subkey, std::uint32_t access, RegistryView view,
                                  std::unique_ptr<RegistryKey>& key) override;
    RegistryStatus deleteMachineKey(const char* subkey) override;
    RegistryStatus queryPerformanceData(const char* objects, std::uint8_t* data, std::uint32_t& size) override;
    void closePerformanceData() override {}
};

}  // namespace brisko::volume
