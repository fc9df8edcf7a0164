#pragma once
// What a detection cleans on an offline installation: the volume's hosts
// file, then the autostart values of the machine and of every user, each
// read from its own hive by the same rules as on a running system, and the
// services whose program is the file; after a removal, the variant's
// entries in the machine's hive. The hives change
// in memory; they are written back once, at the end, and only when the
// user's action changes anything. A hosts file is copied beside itself
// before it is removed or renamed.
#include <memory>
#include <string>
#include <vector>

#include "platform/hive/offline_registry.h"
#include "platform/volume/volume_platform.h"
#include "scan/system_actions.h"
#include "session/scan_front_end.h"
#include "tools/brisko_scan/offline/offline_installation.h"

namespace brisko {

class OfflineCleanup : public SystemActions {
public:
    // changesWritten: whether the user's action lets the hives be written.
    OfflineCleanup(volume::VolumePlatform& volume, ScanFrontEnd& frontEnd, OfflineInstallation installation,
                   bool changesWritten);

    // Opens the installation's hives; a report line and an error event for
    // each that cannot be used, and a line for a registry of the 9x family.
    void openHives();

    void cleanAfterDetection(Scan& scan, const char* threatName) override;
    void cleanVariantEntries() override;

    // Writes back every hive that changed (nothing when changes are not
    // written); a report line for each, and an error event for a failure.
    void writeBack();

    // A hosts file that could not be backed up, or a hive not written.
    bool failed() const { return failed_; }

private:
    struct Hive {
        std::string label;
        OfflineRegistry registry;
        // Why its file is never written (its logs cannot be replayed).
        std::string notWritten;
    };

    // Makes the hive the platform's registry for the length of a step.
    class Using;

    // A report line, and an error event for the file.
    void reportError(const std::string& file, const std::string& line);
    // "  [what]", naming also the registry view when there are two, and
    // saying when changes are not written: by the action, or because
    // notWritten says the hive's logs cannot be replayed.
    std::string mark(const std::string& what, const std::string& notWritten, const char* view = nullptr) const;
    void treatHostsFile(Scan& scan);
    void deleteServicesOf(Scan& scan, const char* threatName);
    // A copy beside the file under the first free backup name; false when
    // none could be made.
    bool backUp(const std::string& file);

    volume::VolumePlatform& volume_;
    ScanFrontEnd& frontEnd_;
    OfflineInstallation installation_;
    bool changesWritten_;
    // The machine's first, when it could be opened, then the users'.
    std::vector<std::unique_ptr<Hive>> hives_;
    Hive* machine_ = nullptr;
    // How report lines name the SYSTEM hive; empty when it is not open.
    std::string systemLabel_;
    std::string systemNotWritten_;
    bool failed_ = false;
};

}  // namespace brisko
