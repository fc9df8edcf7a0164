#include "cleanup/autostart_cleanup.h"

#include <cstring>
#include <initializer_list>
#include <memory>

#include "cleanup/autostart_rules.h"
#include "cleanup/hosts_check.h"
#include "cleanup/registry_values.h"
#include "base/bounded_text.h"
#include "engine/scan_session.h"
#include "base/text_compare.h"
#include "platform/system_family.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kVariantUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kWalkLabel = "W32/Krenot.Trojan";
constexpr unsigned kFolderOffered = 260;
constexpr std::uint32_t kValueNameOffered = 16383;

void lowerCase(char* text) {
    for (; *text != '\0'; ++text) *text = lowerAscii(*text);
}

// The hosts file of the running family; a folder too long to take the
// file's name skips the check.
void checkHostsOfThisSystem() {
    char path[kPathCapacity];
    unsigned length = 0;
    const char* name = nullptr;
    switch (platformFamily()) {
        case kFamilyNt:
            length = systemServices().systemDirectory(path, kFolderOffered);
            name = "\\drivers\\etc\\hosts";
            break;
        case kFamilyWindows9x:
            length = systemServices().windowsDirectory(path, kFolderOffered);
            name = "\\hosts";
            break;
        default:
            return;
    }
    if (length > 0 && length < kFolderOffered && joinIfFits(path, sizeof path, path, length, name)) {
        checkHostsFile(path);
    }
}

void postRemovedLine(const char* name) {
    if (scanSession.reportWindow != 0) postReportLine("System Registry     %s removed", name);
}

// A name longer than the field is not remembered: a cut name could later
// delete another value.
void rememberValueName(const char* valueName) { copyIfFits(scanSession.autostartValueName, valueName); }

// Removes the value remembered from an earlier detection wherever it stands.
void removeRememberedValue(const char* threatName) {
    for (const char* key : {kRunKey, kRunServicesKey, kVariantUninstallKey}) {
        if (deleteRegistryValue(key, scanSession.autostartValueName) != 0) postRemovedLine(threatName);
    }
}

// Judges one value of the key by the two rules; true when it was deleted.
bool treatAutostartValue(const char* keyName, const char* valueName) {
    ValueText data;
    if (readRegistryValue(keyName, valueName, data) == 0) return false;
    lowerCase(data);
    lowerCase(scanSession.infectedPath);
    ValueText expanded;
    const unsigned needed = systemServices().expandEnvironmentStrings(data, expanded, kValueTextOffered);
    if (needed == 0) return false;
    // An expansion that does not fit leaves only the data to compare.
    const bool expansionFits = needed <= kValueTextOffered;
    if (expansionFits) lowerCase(expanded);

    switch (judgeAutostartValue(data, expansionFits ? expanded : nullptr, scanSession.infectedPath)) {
        case AutostartVerdict::kDeleteSystemFileReference:
            if (deleteRegistryValue(keyName, valueName) == 0) return false;
            rememberValueName(valueName);
            postRemovedLine(kWalkLabel);
            return true;
        case AutostartVerdict::kDeleteFullPath:
            // Remembered even when the deletion fails, to be tried again.
            rememberValueName(valueName);
            if (deleteRegistryValue(keyName, valueName) == 0) return false;
            postRemovedLine(kWalkLabel);
            return true;
        case AutostartVerdict::kKeepBareReference:
        case AutostartVerdict::kKeep:
            return false;
    }
    return false;
}

// Walks the values the key held when the walk began; a deleted value's
// successors move down one index.
void walkAutostartValues(const char* keyName) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyRead, key) != kErrorSuccess) return;
    std::uint32_t count = 0;
    if (key->countValues(count) != kErrorSuccess) count = 0;
    std::uint32_t deleted = 0;
    char valueName[kValueNameOffered + 1];
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = kValueNameOffered;
        if (key->valueNameAt(i - deleted, valueName, length) != kErrorSuccess) continue;
        if (std::strchr(scanSession.infectedPath, '\\') == nullptr) return;
        if (treatAutostartValue(keyName, valueName)) ++deleted;
    }
}

}  // namespace

int cleanAutostartEntries(const char* threatName) {
    checkHostsOfThisSystem();
    if (scanSession.autostartValueName[0] != '\0') removeRememberedValue(threatName);
    if (scanSession.infectedPath[0] != '\0') {
        walkAutostartValues(kRunKey);
        walkAutostartValues(kRunServicesKey);
    }
    return 1;
}

}  // namespace brisko
