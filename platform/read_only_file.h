#pragma once
// Owns one read-only descriptor of the file system and closes it on every
// path out of the scope that opened it.
#include <cstdint>

#include "platform/file_system.h"

namespace brisko {

class ReadOnlyFile {
public:
    ReadOnlyFile(FileSystem& fileSystem, const char* path)
        : fileSystem_(fileSystem), descriptor_(fileSystem.openForReading(path)) {}
    ~ReadOnlyFile() { close(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    std::int32_t length() { return fileSystem_.fileLength(descriptor_); }
    // Reads exactly count bytes at offset; false on a failed seek or a short read.
    bool readExactly(std::int32_t offset, void* buffer, unsigned count) {
        return fileSystem_.seekFromStart(descriptor_, offset) &&
               fileSystem_.read(descriptor_, buffer, count) == static_cast<int>(count);
    }
    void close() {
        if (descriptor_ >= 0) {
            fileSystem_.close(descriptor_);
            descriptor_ = -1;
        }
    }

private:
    FileSystem& fileSystem_;
    int descriptor_;
};

}  // namespace brisko
