#include "ui/win32/installed_product.h"

#include "platform/win32/windows_api.h"

namespace brisko {
namespace {

constexpr const char* kProductKey = "Software\\Quenlor\\Kavrel 2000";
constexpr const char* kFolderValue = "Installed Folder";

}  // namespace

bool installedProductPresent() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD needed = 0;
    bool present = RegQueryValueExA(key, kFolderValue, nullptr, nullptr, nullptr, &needed) == ERROR_SUCCESS;
    if (present) {
        // The read is bounded by the buffer, never by the size just learned:
        // a longer value fails to read instead of running past it.
        BYTE folder[300] = {};
        DWORD capacity = sizeof folder;
        present = RegQueryValueExA(key, kFolderValue, nullptr, nullptr, folder, &capacity) == ERROR_SUCCESS;
    }
    return RegCloseKey(key) == ERROR_SUCCESS && present;
}

}  // namespace brisko
