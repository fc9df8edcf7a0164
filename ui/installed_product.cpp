#include "ui/installed_product.h"

#include <cstdint>
#include <memory>

#include "cleanup/registry_values.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr const char* kProductKey = "Software\\Quenlor\\Kavrel 2000";
constexpr const char* kFolderValue = "Installed Folder";
// The read is bounded by this offer, never by the size the first query
// learns: a longer value fails to read and counts as absent.
constexpr std::uint32_t kFolderOffered = 300;

}  // namespace

// A 32-bit installer on 64-bit Windows writes to the 32-bit view: every
// view is looked at.
bool installedProductPresent() {
    for (RegistryView view : registry().softwareViews()) {
        std::unique_ptr<RegistryKey> key;
        if (registry().openMachineKey(kProductKey, kKeyRead, view, key) != kErrorSuccess) continue;
        char folder[kFolderOffered + 1];
        // The key closes when it goes out of scope; the seam gives no result
        // for the close, so a failed close cannot count against the product.
        if (readValueText(*key, kFolderValue, folder, kFolderOffered)) return true;
    }
    return false;
}

}  // namespace brisko
