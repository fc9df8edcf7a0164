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

bool installedProductPresent() {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(kProductKey, kKeyRead, key) != kErrorSuccess) return false;
    char folder[kFolderOffered + 1];
    // The key closes when it goes out of scope; the seam gives no result for
    // the close, so a failed close cannot count against the product.
    return readValueText(*key, kFolderValue, folder, kFolderOffered);
}

}  // namespace brisko
