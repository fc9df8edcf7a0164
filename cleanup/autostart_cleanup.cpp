#include "cleanup/autostart_cleanup.h"

#include <cstring>
#include <initializer_list>
#include <memory>

#include "cleanup/autostart_rules.h"
#include "cleanup/registry_values.h"
#include "base/bounded_text.h"
#include "base/text_compare.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kVariantUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kWalkLabel = "W32/Krenot.Trojan";
constexpr std::uint32_t kValueNameOffered = 16383;

void lowerCase(char* text) {
    for (; *text != '\0'; ++text) *text = lowerAscii(*text);
}

// The line of a removed value, and its event for front ends that keep a
// record.
void postRemovedLine(ScanContext& scan, const char* name, const char* keyName, RegistryView view,
                     const char* valueName) {
    if (scan.session.reportWindow == 0) return;
    scan.postReportLine("System Registry     %s removed", name);
    ScanEvent event{ScanEventKind::kRegistryValue, keyName, name, valueName};
    event.view = registryViewName(view);
    scan.noteEvent(event);
}

// A name longer than the field is not remembered: a cut name could later
// delete another value.
void rememberValueName(ScanSession& session, const char* valueName) {
    copyIfFits(session.autostartValueName, valueName);
}

// Removes the value remembered from an earlier detection wherever it stands
// in the view.
void removeRememberedValue(ScanContext& scan, const char* threatName, RegistryView view) {
    for (const char* key : {kRunKey, kRunServicesKey, kVariantUninstallKey}) {
        if (deleteRegistryValue(key, view, scan.session.autostartValueName) != 0) {
            postRemovedLine(scan, threatName, key, view, scan.session.autostartValueName);
        }
    }
}

// Judges one value of the key by the two rules; true when it was deleted.
bool treatAutostartValue(ScanContext& scan, const char* keyName, RegistryView view, const char* valueName) {
    ScanSession& session = scan.session;
    ValueText data;
    if (readRegistryValue(keyName, view, valueName, data) == 0) return false;
    lowerCase(data);
    lowerCase(session.infectedPath);
    ValueText expanded;
    const unsigned needed = systemServices().expandEnvironmentStrings(data, expanded, kValueTextOffered);
    if (needed == 0) return false;
    // An expansion that does not fit leaves only the data to compare.
    const bool expansionFits = needed <= kValueTextOffered;
    if (expansionFits) lowerCase(expanded);

    switch (judgeAutostartValue(data, expansionFits ? expanded : nullptr, session.infectedPath)) {
        case AutostartVerdict::kDeleteSystemFileReference:
            if (deleteRegistryValue(keyName, view, valueName) == 0) return false;
            rememberValueName(session, valueName);
            postRemovedLine(scan, kWalkLabel, keyName, view, valueName);
            return true;
        case AutostartVerdict::kDeleteFullPath:
            // Remembered even when the deletion fails, to be tried again.
            rememberValueName(session, valueName);
            if (deleteRegistryValue(keyName, view, valueName) == 0) return false;
            postRemovedLine(scan, kWalkLabel, keyName, view, valueName);
            return true;
        case AutostartVerdict::kKeepBareReference:
        case AutostartVerdict::kKeep:
            return false;
    }
    return false;
}

// Walks the values the key held when the walk began; a deleted value's
// successors move down one index.
void walkAutostartValues(ScanContext& scan, const char* keyName, RegistryView view) {
    std::unique_ptr<RegistryKey> key;
    if (registry().openMachineKey(keyName, kKeyRead, view, key) != kErrorSuccess) return;
    std::uint32_t count = 0;
    if (key->countValues(count) != kErrorSuccess) count = 0;
    std::uint32_t deleted = 0;
    char valueName[kValueNameOffered + 1];
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = kValueNameOffered;
        if (key->valueNameAt(i - deleted, valueName, length) != kErrorSuccess) continue;
        if (std::strchr(scan.session.infectedPath, '\\') == nullptr) return;
        if (treatAutostartValue(scan, keyName, view, valueName)) ++deleted;
    }
}

}  // namespace

// Windows starts the Run values of both views of a 64-bit machine: each step
// goes through the program's own view, then the other one. The remembered
// name is the one of an earlier detection in every view.
int cleanAutostartEntries(ScanContext& scan, const char* threatName) {
    const RegistryViews views = registry().softwareViews();
    if (scan.session.autostartValueName[0] != '\0') {
        for (RegistryView view : views) removeRememberedValue(scan, threatName, view);
    }
    if (scan.session.infectedPath[0] != '\0') {
        for (RegistryView view : views) {
            walkAutostartValues(scan, kRunKey, view);
            walkAutostartValues(scan, kRunServicesKey, view);
        }
    }
    return 1;
}

}  // namespace brisko
