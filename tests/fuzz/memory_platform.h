#pragma once
// A platform for the fuzz targets of code that reads one file through the
// FileSystem seam: every path opens the same block of memory, so a run never
// touches the disk. Anything else the code under test asks of the system is
// a broken invariant, not a case to handle.
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace brisko::fuzz {

class MemoryFile : public FileSystem {
public:
    // The bytes stay the caller's; they must outlive every open descriptor.
    void hold(const std::uint8_t* bytes, std::size_t size);
    // Descriptors opened and not yet closed.
    int openCount() const { return openCount_; }

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

private:
    const std::uint8_t* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    int openCount_ = 0;
};

// Installs itself as the current platform for its lifetime.
class MemoryPlatform : public Platform {
public:
    MemoryPlatform();
    ~MemoryPlatform() override;
    MemoryFile& file() { return file_; }

    FileSystem& files() override { return file_; }
    WindowMessaging& windows() override;
    SystemServices& system() override;
    Processes& processes() override;
    Registry& registry() override;
    Services& services() override;
    Privileges& privileges() override;
    SystemControl& control() override;

private:
    MemoryFile file_;
};

}  // namespace brisko::fuzz
