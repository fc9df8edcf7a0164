#include "platform/volume/empty_registry.h"

namespace brisko::volume {

RegistryStatus EmptyRegistry::openMachineKey(const char*, std::uint32_t, RegistryView,
                                             std::unique_ptr<RegistryKey>& key) {
    key.reset();
    return kErrorFileNotFound;
}

RegistryStatus EmptyRegistry::deleteMachineKey(const char*) { return kErrorFileNotFound; }

RegistryStatus EmptyRegistry::queryPerformanceData(const char*, std::uint8_t*, std::uint32_t& size) {
    size = 0;
    return kErrorFileNotFound;
}

}  // namespace brisko::volume
