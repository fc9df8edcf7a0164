#pragma once
// A mounted Windows volume as the whole platform: its folder is drive C:
// (volume_file_system.h), and the rest is an offline system with an empty
// registry (offline_system.h, empty_registry.h).
#include <memory>

#include "platform/platform.h"
#include "platform/volume/empty_registry.h"
#include "platform/volume/offline_system.h"
#include "platform/volume/volume_file_system.h"

namespace brisko::volume {

class VolumePlatform : public Platform {
public:
    // Null when folder cannot be opened as a folder. The folder itself may
    // be given through a link; nothing below it is.
    static std::unique_ptr<VolumePlatform> open(const char* folder, ReadErrorReport reportReadError,
                                                DirectoryReader& reader = systemDirectoryReader());

    VolumePlatform(OwnedDescriptor root, ReadErrorReport reportReadError, DirectoryReader& reader);

    FileSystem& files() override { return files_; }
    WindowMessaging& windows() override { return windows_; }
    SystemServices& system() override { return system_; }
    Processes& processes() override { return processes_; }
    Registry& registry() override { return registry_; }
    Services& services() override { return services_; }
    Privileges& privileges() override { return privileges_; }
    SystemControl& control() override { return control_; }

private:
    VolumeFileSystem files_;
    NoWindows windows_;
    OfflineSystemServices system_;
    NoProcesses processes_;
    EmptyRegistry registry_;
    NoServices services_;
    NoPrivileges privileges_;
    OfflineSystemControl control_;
};

}  // namespace brisko::volume
