#pragma once
// What a mounted volume holds of a Windows installation: its family, its
// hosts file and its registry hives, found through the file seam as
// Windows paths of drive C:, case-blind and never through a link.
#include <string>
#include <vector>

namespace brisko {

enum class InstallationKind {
    kNone,
    // The NT family: hive files under System32\config and the profiles.
    kNt,
    // The 9x family: SYSTEM.DAT and USER.DAT, which hivex cannot read.
    kWindows9x,
};

struct UserHive {
    // The profile's NTUSER.DAT, as a Windows path.
    std::string path;
    // How report lines name it: "Users\alice\NTUSER.DAT".
    std::string label;
};

struct OfflineInstallation {
    InstallationKind kind = InstallationKind::kNone;
    // Windows paths; empty when the installation has none.
    std::string windowsFolder;
    std::string hostsFile;
    std::string softwareHive;
    std::string systemHive;
    std::vector<UserHive> userHives;
    // The 9x registry file found, for the report.
    std::string windows9xRegistry;
};

OfflineInstallation findInstallation();

}  // namespace brisko
