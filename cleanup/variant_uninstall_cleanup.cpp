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
int removeValueNaming(const char* keyName, RegistryView view, const char* valueName, const char* marker) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyAllAccess, view, key) != kErrorSuccess) return 0;
    char data[kDataOffered + 1];
    if (!readValueText(*key, valueName, data, kDataOffered)) return 0;
    if (std::strstr(data, marker) != nullptr && key->deleteValue(valueName) != kErrorSuccess) return 0;
    return 1;
}

// The Run value is looked at only while the uninstall string of its view
// exists.
int cleanVariantEntriesInView(RegistryView view) {
    if (removeValueNaming(kUninstallKey, view, "UninstallString", "uninstall.exe") == 0) return 0;
    return removeValueNaming(kRunKey, view, "SMrhcjg7j0e38v", "rhcjg7j0e38v.exe");
}

}  // namespace

// The program's own view first, then the other view of a 64-bit machine,
// whatever became of the first.
int cleanVariantUninstallEntry() {
    int cleaned = 0;
    for (RegistryView view : registry().softwareViews()) cleaned |= cleanVariantEntriesInView(view);
    return cleaned;
}

}  // namespace brisko
