#pragma once
// A mounted Windows volume as the whole platform: its folder is drive C:
// (volume_file_system.h), and the rest is an offline system
// (offline_system.h) whose registry is empty (empty_registry.h) unless one
// read from the volume's hives is put in its place.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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

    VolumePlatform(std::filesystem::path folder, OwnedDescriptor root, ReadErrorReport reportReadError,
                   DirectoryReader& reader);

    // The registry answers from here on (null: the empty one again). The
    // caller keeps ownership.
    void useRegistry(Registry* registry) { registry_ = registry != nullptr ? registry : &emptyRegistry_; }

    // The installation's Windows folder (C:\Windows), which the
    // values of its hives name as %SystemRoot% and %windir%.
    void setWindowsFolder(const std::string& folder) { system_.setWindowsFolder(folder); }

    // Where the existing file or folder of a Windows path is on the host,
    // every step checked as the file system checks it (no link, the
    // volume's own device): for libraries that take a file name. Nothing
    // when the path names no entry of the volume.
    std::optional<std::filesystem::path> hostPathOf(const std::string& windowsPath) const;

    FileSystem& files() override { return files_; }
    WindowMessaging& windows() override { return windows_; }
    SystemServices& system() override { return system_; }
    Processes& processes() override { return processes_; }
    Registry& registry() override { return *registry_; }
    Services& services() override { return services_; }
    Privileges& privileges() override { return privileges_; }
    SystemControl& control() override { return control_; }

private:
    std::filesystem::path folder_;
    VolumeFileSystem files_;
    NoWindows windows_;
    OfflineSystemServices system_;
    NoProcesses processes_;
    EmptyRegistry emptyRegistry_;
    Registry* registry_ = &emptyRegistry_;
    NoServices services_;
    NoPrivileges privileges_;
    OfflineSystemControl control_;
};

}  // namespace brisko::volume
