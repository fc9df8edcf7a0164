#include "platform/hive/log_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "base/text_compare.h"

namespace brisko::hive {
namespace {

namespace fs = std::filesystem;

// Hives and logs larger than this are not read into memory.
constexpr std::uint64_t kLargestFileRead = std::uint64_t{1} << 30;

}  // namespace

bool readWholeFile(int directory, const char* name, std::vector<std::uint8_t>& bytes, std::string& why) {
    const int descriptor = ::openat(directory, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0) {
        why = errno == ELOOP ? "a symbolic link, not followed" : std::string("cannot be read (") + std::strerror(errno) + ")";
        return false;
    }
    struct stat status {};
    bool read = ::fstat(descriptor, &status) == 0;
    if (read && !S_ISREG(status.st_mode)) {
        why = "not a regular file";
        read = false;
    } else if (read && static_cast<std::uint64_t>(status.st_size) > kLargestFileRead) {
        why = "too large to be read";
        read = false;
    } else if (read) {
        bytes.assign(static_cast<std::size_t>(status.st_size), 0);
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t piece = ::read(descriptor, bytes.data() + got, bytes.size() - got);
            if (piece <= 0) break;
            got += static_cast<std::size_t>(piece);
        }
        bytes.resize(got);
        if (got != static_cast<std::size_t>(status.st_size)) {
            why = "cannot be read whole";
            read = false;
        }
    } else {
        why = std::string("cannot be read (") + std::strerror(errno) + ")";
    }
    ::close(descriptor);
    return read;
}

bool readLogsBeside(const fs::path& hive, std::vector<LogFile>& logs, std::string& why) {
    const fs::path folder = hive.has_parent_path() ? hive.parent_path() : fs::path(".");
    const std::string name = hive.filename().string();
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        why = "its folder cannot be listed (" + std::string(std::strerror(errno)) + ")";
        return false;
    }
    const std::array<const char*, 3> suffixes{".LOG", ".LOG1", ".LOG2"};
    std::array<std::string, 3> found;
    bool told = true;
    while (const dirent* entry = ::readdir(listing)) {
        for (std::size_t i = 0; i < suffixes.size(); ++i) {
            const std::string wanted = name + suffixes[i];
            if (!equalIgnoringCase(entry->d_name, wanted.c_str())) continue;
            if (!found[i].empty()) {
                why = "two files answer for " + wanted;
                told = false;
            }
            found[i] = entry->d_name;
        }
    }
    for (std::size_t i = 0; told && i < found.size(); ++i) {
        if (found[i].empty()) continue;
        LogFile log{folder / found[i], {}};
        std::string failure;
        if (!readWholeFile(::dirfd(listing), found[i].c_str(), log.bytes, failure)) {
            why = found[i] + ": " + failure;
            told = false;
        }
        logs.push_back(std::move(log));
    }
    ::closedir(listing);
    return told;
}

}  // namespace brisko::hive
