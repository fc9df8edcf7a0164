#include "tools/brisko_scan/offline/offline_installation.h"

#include <cstring>
#include <memory>

#include "platform/platform.h"

namespace brisko {
namespace {

// The names the Windows folder has had.
constexpr const char* kWindowsFolders[] = {"C:\\Windows", "C:\\WINNT"};
// The folders of the profiles: "Documents and Settings" up to XP, "Users"
// after it (where the older name is a junction, which the volume leaves
// out, so no profile is cleaned twice).
constexpr const char* kProfileFolders[] = {"C:\\Documents and Settings", "C:\\Users"};

bool isSubfolder(const DirectoryEntry& entry) {
    return (entry.attributes & kAttributeDirectory) != 0 && std::strcmp(entry.name, ".") != 0 &&
           std::strcmp(entry.name, "..") != 0;
}

void findUserHives(std::vector<UserHive>& hives) {
    for (const char* profiles : kProfileFolders) {
        const std::string pattern = std::string(profiles) + "\\*.*";
        std::unique_ptr<DirectoryListing> listing = files().listDirectory(pattern.c_str());
        DirectoryEntry entry;
        while (listing && listing->next(entry)) {
            if (!isSubfolder(entry)) continue;
            const std::string hive = std::string(profiles) + "\\" + entry.name + "\\NTUSER.DAT";
            if (files().exists(hive.c_str())) hives.push_back({hive, hive.substr(3)});
        }
    }
}

}  // namespace

OfflineInstallation findInstallation() {
    OfflineInstallation installation;
    for (const char* windows : kWindowsFolders) {
        const std::string folder = windows;
        if (files().exists((folder + "\\System32\\config\\SOFTWARE").c_str())) {
            installation.kind = InstallationKind::kNt;
            installation.windowsFolder = folder;
            installation.hostsFile = folder + "\\System32\\drivers\\etc\\hosts";
            installation.softwareHive = folder + "\\System32\\config\\SOFTWARE";
            if (files().exists((folder + "\\System32\\config\\SYSTEM").c_str())) {
                installation.systemHive = folder + "\\System32\\config\\SYSTEM";
            }
            findUserHives(installation.userHives);
            return installation;
        }
        if (files().exists((folder + "\\SYSTEM.DAT").c_str())) {
            installation.kind = InstallationKind::kWindows9x;
            installation.windowsFolder = folder;
            installation.hostsFile = folder + "\\hosts";
            installation.windows9xRegistry = folder + "\\SYSTEM.DAT";
            return installation;
        }
    }
    return installation;
}

}  // namespace brisko
