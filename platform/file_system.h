#pragma once
// Files and directories as the scan needs them: listing, drive types,
// existence, attributes, removal and renaming, and a read-only descriptor
// for reading image headers.
#include <cstdint>
#include <memory>

#include "platform/platform_types.h"

namespace brisko {

// The entries matching one search pattern, in the order the file system
// gives them. Closes the search when destroyed.
class DirectoryListing {
public:
    virtual ~DirectoryListing() = default;
    // Fills the next entry; false when there are no more.
    virtual bool next(DirectoryEntry& entry) = 0;
    // After next gave false: whether the search broke off on a failure
    // rather than running out of entries, so that what it gave is not the
    // whole folder. A listing that cannot tell the two apart says false.
    virtual bool brokeOff() const { return false; }
};

enum class WriteMode {
    // Creates the file; fails when it exists already, so that an existing
    // file is never written over as if it were new.
    kCreateNew,
    // Empties an existing file; a missing one is not created.
    kTruncateExisting,
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Starts a listing of a search pattern ("C:\dir\*.*", or the path of one
    // file); null when the search cannot start.
    virtual std::unique_ptr<DirectoryListing> listDirectory(const char* pattern) = 0;
    // Type of a drive given by its root ("C:\").
    virtual DriveType driveType(const char* root) = 0;
    // Whether a file or directory exists.
    virtual bool exists(const char* path) = 0;
    virtual bool setAttributes(const char* path, std::uint32_t attributes) = 0;
    virtual bool removeFile(const char* path) = 0;
    virtual bool moveFile(const char* from, const char* to) = 0;

    // Low-level reading: a descriptor for read-only binary access, or -1.
    virtual int openForReading(const char* path) = 0;
    // Length of an open file; -1 on failure or when it does not fit.
    virtual std::int32_t fileLength(int descriptor) = 0;
    // Positions the descriptor at an offset from the start of the file. A
    // position past the end is allowed; a negative one fails.
    virtual bool seekFromStart(int descriptor, std::int32_t offset) = 0;
    // Reads up to count bytes; the number read, 0 at the end, -1 on failure.
    virtual int read(int descriptor, void* buffer, unsigned count) = 0;
    virtual void close(int descriptor) = 0;

    // Low-level writing in binary mode: a descriptor, or -1.
    virtual int openForWriting(const char* path, WriteMode mode) = 0;
    // The number of bytes written; anything short of count is a failure.
    virtual int write(int descriptor, const void* data, unsigned count) = 0;

    // Copies a file, replacing an existing target.
    virtual bool copyFile(const char* from, const char* to) = 0;
    // The short (8.3) form of an existing path, as GetShortPathName gives
    // it: its length on success, the size needed (terminator included) when
    // the buffer is too small, 0 on failure.
    virtual unsigned shortPathName(const char* path, char* buffer, unsigned capacity) = 0;
    // Has the system delete the file when it next starts (NT family).
    virtual bool deleteAtRestart(const char* path) = 0;
};

}  // namespace brisko
