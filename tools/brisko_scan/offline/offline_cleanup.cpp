#include "tools/brisko_scan/offline/offline_cleanup.h"

#include <utility>

#include "base/backup_name.h"
#include "cleanup/autostart_cleanup.h"
#include "cleanup/hosts_check.h"
#include "cleanup/service_image_cleanup.h"
#include "cleanup/variant_uninstall_cleanup.h"
#include "platform/platform.h"
#include "scan/hosts_treatment.h"
#include "scan/scan.h"
#include "tools/brisko_scan/offline/marked_front_end.h"

namespace brisko {

class OfflineCleanup::Using {
public:
    Using(volume::VolumePlatform& volume, Hive& hive) : volume_(volume) { volume_.useRegistry(&hive.registry); }
    ~Using() { volume_.useRegistry(nullptr); }
    Using(const Using&) = delete;
    Using& operator=(const Using&) = delete;

private:
    volume::VolumePlatform& volume_;
};

OfflineCleanup::OfflineCleanup(volume::VolumePlatform& volume, ScanFrontEnd& frontEnd,
                               OfflineInstallation installation, bool changesWritten)
    : volume_(volume), frontEnd_(frontEnd), installation_(std::move(installation)), changesWritten_(changesWritten) {
    if (!installation_.windowsFolder.empty()) volume_.setWindowsFolder(installation_.windowsFolder);
}

void OfflineCleanup::openHives() {
    if (installation_.kind == InstallationKind::kWindows9x) {
        frontEnd_.appendLine((installation_.windows9xRegistry +
                              ": a registry of the Windows 9x family, which cannot be read here; its values are "
                              "not checked")
                                 .c_str());
    }
    // Presents one file in a hive of its own; false when it cannot be used.
    // A dirty hive's line tells whether its logs were replayed; one whose
    // logs cannot be replayed is never written, which fails a run that
    // writes changes.
    const auto present = [&](Hive& hive, const std::string& root, const std::string& path, const std::string& key,
                             std::string& notWritten) {
        const std::optional<std::filesystem::path> file = volume_.hostPathOf(path);
        if (!file) return false;
        const HiveOpening opening = hive.registry.present(root, *file, key);
        // The report names the file as the volume's Windows path.
        const std::string prefix = file->string() + ": ";
        const bool named = opening.text.compare(0, prefix.size(), prefix) == 0;
        const std::string line = path + ": " + (named ? opening.text.substr(prefix.size()) : opening.text);
        if (opening.status != HiveOpenStatus::kOpened) {
            reportError(path, line);
            return false;
        }
        if (opening.logs == hive::HiveLogState::kReplayed) frontEnd_.appendLine(line.c_str());
        if (opening.logs == hive::HiveLogState::kNotReplayable) {
            notWritten = "its logs cannot be replayed";
            if (changesWritten_) {
                failed_ = true;
                reportError(path, line + "; never written");
            } else {
                frontEnd_.appendLine(line.c_str());
            }
        }
        return true;
    };
    if (!installation_.softwareHive.empty()) {
        auto machine = std::make_unique<Hive>();
        machine->label = installation_.softwareHive.substr(3);
        if (present(*machine, "SOFTWARE", installation_.softwareHive, "", machine->notWritten)) {
            if (!installation_.systemHive.empty() &&
                present(*machine, "SYSTEM", installation_.systemHive, "", systemNotWritten_)) {
                systemLabel_ = installation_.systemHive.substr(3);
            }
            // A 32-bit program's values on 64-bit Windows; a user's Run
            // keys are one for both kinds of program.
            machine->registry.splitThirtyTwoBitView("SOFTWARE");
            machine_ = machine.get();
            hives_.push_back(std::move(machine));
        }
    }
    for (const UserHive& user : installation_.userHives) {
        auto hive = std::make_unique<Hive>();
        hive->label = user.label;
        // The user's Software key answers where the machine's would.
        if (present(*hive, "SOFTWARE", user.path, "Software", hive->notWritten)) hives_.push_back(std::move(hive));
    }
}

void OfflineCleanup::reportError(const std::string& file, const std::string& line) {
    frontEnd_.appendLine(line.c_str());
    frontEnd_.noteEvent({ScanEventKind::kError, file.c_str(), nullptr, line.c_str()});
}

void OfflineCleanup::cleanAfterDetection(Scan& scan, const char* threatName) {
    treatHostsFile(scan);
    for (const std::unique_ptr<Hive>& hive : hives_) {
        Using using_(volume_, *hive);
        const Hive& cleaned = *hive;
        MarkedFrontEnd marked(
            frontEnd_,
            [this, &cleaned](const char* view) { return mark(cleaned.label, cleaned.notWritten, view); },
            cleaned.label);
        ScanContext context(scan.session(), marked);
        cleanAutostartEntries(context, threatName);
    }
    deleteServicesOf(scan, threatName);
}

void OfflineCleanup::deleteServicesOf(Scan& scan, const char* threatName) {
    if (machine_ == nullptr || systemLabel_.empty() || scan.session().infectedPath[0] == '\0') return;
    Using using_(volume_, *machine_);
    for (const std::string& service : deleteServicesRunning(scan.session().infectedPath, installation_.windowsFolder)) {
        scan.context().postReportLine("System Registry     %s removed%s", threatName,
                                      mark(systemLabel_ + ", service " + service, systemNotWritten_).c_str());
        const std::string key = "Services\\" + service;
        scan.context().noteEvent({ScanEventKind::kRegistryKey, key.c_str(), threatName, nullptr, systemLabel_.c_str()});
    }
}

std::string OfflineCleanup::mark(const std::string& what, const std::string& notWritten, const char* view) const {
    const std::string inView = view != nullptr ? std::string(", ") + view + " view" : "";
    if (!changesWritten_) return "  [" + what + inView + ", not written: --action leave]";
    return "  [" + what + inView + (notWritten.empty() ? "" : ", not written: " + notWritten) + "]";
}

void OfflineCleanup::cleanVariantEntries() {
    if (machine_ == nullptr) return;
    Using using_(volume_, *machine_);
    cleanVariantUninstallEntry();
}

void OfflineCleanup::treatHostsFile(Scan& scan) {
    const std::string& hosts = installation_.hostsFile;
    if (hosts.empty()) return;
    const std::int32_t action = scan.session().userAction;
    const bool changes = action == kActionRemove || action == kActionRemoveToo || action == kActionRename;
    HostsThreatName threatName;
    if (changes && findHostsInfection(hosts.c_str(), threatName) && !backUp(hosts)) {
        failed_ = true;
        scan.context().postReportLine("%s     no copy of it could be made beside it; left as it is", hosts.c_str());
        scan.context().noteEvent(
            {ScanEventKind::kError, hosts.c_str(), threatName, "no copy could be made beside it; left as it is"});
        return;
    }
    brisko::checkHostsFile(scan, hosts.c_str());
}

bool OfflineCleanup::backUp(const std::string& file) {
    for (unsigned number = 1; number <= kBackupNamesTried; ++number) {
        const std::string backup = backupName(file, number);
        if (files().exists(backup.c_str())) continue;
        return files().copyFile(file.c_str(), backup.c_str());
    }
    return false;
}

void OfflineCleanup::writeBack() {
    if (!changesWritten_) return;
    for (const std::unique_ptr<Hive>& hive : hives_) {
        for (const HiveWrite& write : hive->registry.commit()) {
            if (write.status == HiveWriteStatus::kWritten) {
                frontEnd_.appendLine(write.text.c_str());
                continue;
            }
            failed_ = true;
            reportError(write.hive.string(), write.text);
        }
    }
}

}  // namespace brisko
