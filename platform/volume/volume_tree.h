#pragma once
// Finds the entries of Windows paths ("C:\Windows\System32\x.dll") on a
// mounted volume, safely by construction: every step is taken relative to
// a descriptor, starting from the one of the volume's folder, one name per
// step and never through a symbolic link. So no path leaves the folder,
// whatever links, ".." names or absolute names it holds.
//
// - Only regular files and folders are entries. Symbolic links (ntfs-3g
//   shows junctions such as "Documents and Settings" as links), devices,
//   pipes and sockets are left out: they are neither found nor listed, so
//   nothing is scanned twice or read from outside the volume.
// - Nothing on another device is an entry: a file system mounted inside the
//   folder is not entered.
// - A path with a ".." name, or on another drive than C:, names nothing.
// - Names are matched without regard to case, as on Windows, since the
//   mount tells case apart; a name of the exact case wins.
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/volume/directory_reader.h"
#include "platform/volume/owned_descriptor.h"

namespace brisko::volume {

// One entry of the volume, or the place where one is to be made.
struct VolumeEntry {
    // The folder holding it.
    OwnedDescriptor folder;
    // As spelt on the volume when present, as given otherwise. Empty for
    // the volume's root.
    std::string name;
    bool present = false;
    struct stat status {};

    bool isFolder() const { return present && S_ISDIR(status.st_mode); }
    bool isFile() const { return present && S_ISREG(status.st_mode); }
    // No write bit at all: what the volume shows of the read-only attribute.
    bool isReadOnly() const { return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }
};

class VolumeTree {
public:
    // Takes over the descriptor of the volume's folder.
    VolumeTree(OwnedDescriptor root, DirectoryReader& reader);

    // The names of a Windows path after its drive; nothing when the path is
    // not on C: or climbs with "..".
    static std::optional<std::vector<std::string>> namesOf(const std::string& windowsPath);

    // The folder reached through these names, or a closed descriptor.
    OwnedDescriptor openFolder(const std::vector<std::string>& names) const;
    // The existing file or folder of a path.
    std::optional<VolumeEntry> find(const std::string& windowsPath) const;
    // The names of the existing file or folder of a path as the volume
    // spells them, every step taken as find takes it.
    std::optional<std::vector<std::string>> spellingOf(const std::string& windowsPath) const;
    // Where a file of this path is: its folder must exist; the entry is
    // present when a name matches.
    std::optional<VolumeEntry> place(const std::string& windowsPath) const;
    // Opens a found entry (flags as for open) without following a link, and
    // only if it still is the file or folder that was found.
    OwnedDescriptor open(const VolumeEntry& entry, int flags) const;

    // The status of a name of a folder when it is an entry of the volume.
    std::optional<struct stat> statusOf(int folder, const std::string& name) const;
    DirectoryReader& reader() const { return reader_; }

private:
    // The name of the folder's entry that matches, exact case first.
    std::optional<std::string> matchingName(int folder, const std::string& name) const;
    std::optional<VolumeEntry> entryOf(const std::vector<std::string>& names, bool mayBeMissing) const;

    OwnedDescriptor root_;
    dev_t device_;
    DirectoryReader& reader_;
};

}  // namespace brisko::volume
