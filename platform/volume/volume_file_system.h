#pragma once
// The files of a mounted Windows volume as drive C:, the only drive. Paths
// are found through a VolumeTree, so nothing outside the volume's folder is
// ever read, written or removed (volume_tree.h says how).
//
// What the volume shows of Windows attributes: a folder is a directory; a
// file or folder without any write bit is read-only; every file is archive.
// Hidden and system have no place on the mount: setting them changes
// nothing. Setting attributes without read-only gives the owner the write
// bit back, so that a removal can go ahead where the mount allows it; it
// fails where the mount keeps the old mode (ntfs-3g without -o
// permissions shows every file writable, or none with fmask=0222).
//
// An offline volume has no next start and no short names: deleteAtRestart
// and shortPathName fail.
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/open_descriptors.h"
#include "platform/volume/volume_tree.h"

namespace brisko::volume {

// Told one line, without its end, when a folder cannot be read to its end.
using ReadErrorReport = std::function<void(const std::string& line)>;

class VolumeFileSystem : public FileSystem {
public:
    VolumeFileSystem(OwnedDescriptor root, DirectoryReader& reader, ReadErrorReport reportReadError);

    std::unique_ptr<DirectoryListing> listDirectory(const char* pattern) override;
    DriveType driveType(const char* root) override;
    bool exists(const char* path) override;
    bool setAttributes(const char* path, std::uint32_t attributes) override;
    bool removeFile(const char* path) override;
    bool moveFile(const char* from, const char* to) override;
    int openForReading(const char* path) override;
    std::int32_t fileLength(int descriptor) override;
    bool seekFromStart(int descriptor, std::int32_t offset) override;
    int read(int descriptor, void* buffer, unsigned count) override;
    void close(int descriptor) override;
    int openForWriting(const char* path, WriteMode mode) override;
    int write(int descriptor, const void* data, unsigned count) override;
    bool copyFile(const char* from, const char* to) override;
    unsigned shortPathName(const char* path, char* buffer, unsigned capacity) override;
    bool deleteAtRestart(const char* path) override;

    const VolumeTree& tree() const { return tree_; }

private:
    // The entries of a folder whose names match the mask; a failure to read
    // the folder to its end is reported and ends the listing there.
    void collectMatching(const std::string& folderPath, int folder, const std::string& mask,
                         std::vector<DirectoryEntry>& entries);
    // openForWriting's descriptor, for the program or for a copy's own use.
    int openToWrite(const char* path, WriteMode mode);

    VolumeTree tree_;
    ReadErrorReport reportReadError_;
    // A file the program has open is neither removed nor renamed, as on
    // Windows (open_descriptors.h).
    OpenDescriptors openDescriptors_;
};

}  // namespace brisko::volume
