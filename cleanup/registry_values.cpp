#include "cleanup/registry_values.h"

#include <cstring>
#include <memory>

#include "platform/platform.h"

namespace brisko {

bool readValueText(RegistryKey& key, const char* valueName, char* buffer, std::uint32_t offered) {
    std::uint32_t size = 0;
    if (key.queryValue(valueName, nullptr, nullptr, size) != kErrorSuccess) return false;
    std::memset(buffer, 0, offered + 1);
    size = offered;
    return key.queryValue(valueName, nullptr, reinterpret_cast<std::uint8_t*>(buffer), size) == kErrorSuccess;
}

int deleteRegistryValue(const char* keyName, RegistryView view, const char* valueName) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyAllAccess, view, key) != kErrorSuccess) return 0;
    return key->deleteValue(valueName) == kErrorSuccess ? 1 : 0;
}

int readRegistryValue(const char* keyName, RegistryView view, const char* valueName, ValueText& buffer) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyRead, view, key) != kErrorSuccess) return 0;
    return readValueText(*key, valueName, buffer, kValueTextOffered) ? 1 : 0;
}

}  // namespace brisko
