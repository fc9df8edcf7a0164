#pragma once
// The file seam over the Windows API and the C runtime's low-level I/O.
#include "platform/file_system.h"

namespace brisko {

class Win32FileSystem final : public FileSystem {
public:
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
};

}  // namespace brisko
