#include "cleanup/variant_uninstall_cleanup.h"

#include <cstring>
#include <memory>

#include "cleanup/registry_values.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr std::uint32_t kDataOffered = 100;
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Deletes the value when its data contains the marker (case-sensitive). 1
// when the value was read and then deleted or kept for other data; 0 when
// the key, the value or the deletion failed.
int removeValueNaming(const char* keyName, const char* valueName, const char* marker) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyAllAccess, key) != kErrorSuccess) return 0;
    char data[kDataOffered + 1];
    if (!readValueText(*key, valueName, data, kDataOffered)) return 0;
    if (std::strstr(data, marker) != nullptr && key->deleteValue(valueName) != kErrorSuccess) return 0;
    return 1;
}

}  // namespace

// The Run value is looked at only while the uninstall string exists.
int cleanVariantUninstallEntry() {
    if (removeValueNaming(kUninstallKey, "UninstallString", "uninstall.exe") == 0) return 0;
    return removeValueNaming(kRunKey, "SMrhcjg7j0e38v", "rhcjg7j0e38v.exe");
}

}  // namespace brisko
