#include "platform/volume/directory_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace brisko::volume {
namespace {

class SystemDirectoryStream : public DirectoryStream {
public:
    explicit SystemDirectoryStream(DIR* directory) : directory_(directory) {}
    ~SystemDirectoryStream() override { ::closedir(directory_); }
    SystemDirectoryStream(const SystemDirectoryStream&) = delete;
    SystemDirectoryStream& operator=(const SystemDirectoryStream&) = delete;

    bool next(std::string& name, int& error) override {
        for (;;) {
            // readdir tells the end from a failure only through errno.
            errno = 0;
            const dirent* entry = ::readdir(directory_);
            if (entry == nullptr) {
                error = errno;
                return false;
            }
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                name = entry->d_name;
                return true;
            }
        }
    }

private:
    DIR* directory_;
};

class SystemDirectoryReader : public DirectoryReader {
public:
    std::unique_ptr<DirectoryStream> read(int folder) override {
        // A descriptor of its own, so that the caller's stays open and its
        // position is never shared.
        const int own = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (own < 0) return nullptr;
        DIR* directory = ::fdopendir(own);
        if (directory == nullptr) {
            ::close(own);
            return nullptr;
        }
        return std::make_unique<SystemDirectoryStream>(directory);
    }
};

}  // namespace

DirectoryReader& systemDirectoryReader() {
    static SystemDirectoryReader reader;
    return reader;
}

}  // namespace brisko::volume
