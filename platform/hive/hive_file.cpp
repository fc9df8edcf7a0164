#include "platform/hive/hive_file.h"

#include <fcntl.h>
#include <hivex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "base/backup_name.h"
#include "base/little_endian.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBaseBlockSize = 4096;
constexpr std::size_t kBinsSizeOffset = 40;

HiveOpening refused(HiveOpenStatus status, const fs::path& file, const std::string& why) {
    return {status, file.string() + ": " + why + "; left untouched"};
}

// What the file's own base block says it holds, before hivex reads it:
// hivex accepts a hive cut short after its first bin.
HiveOpening checkBaseBlock(const fs::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOENT) return refused(HiveOpenStatus::kMissing, file, "missing");
        return refused(HiveOpenStatus::kUnreadable, file, std::string("cannot be read (") + std::strerror(error) + ")");
    }
    std::uint8_t block[kBaseBlockSize];
    const ssize_t got = ::read(descriptor, block, sizeof block);
    const int readError = errno;
    struct stat status {};
    const bool sized = ::fstat(descriptor, &status) == 0;
    ::close(descriptor);
    if (got < 0 || !sized) {
        return refused(HiveOpenStatus::kUnreadable, file, std::string("cannot be read (") + std::strerror(readError) + ")");
    }
    if (static_cast<std::size_t>(got) < sizeof block || std::memcmp(block, "regf", 4) != 0) {
        return refused(HiveOpenStatus::kDamaged, file, "not a registry hive");
    }
    const std::uint64_t needed = kBaseBlockSize + std::uint64_t{readLittle32(block + kBinsSizeOffset)};
    if (static_cast<std::uint64_t>(status.st_size) < needed) {
        return refused(HiveOpenStatus::kDamaged, file,
                       "truncated (" + std::to_string(status.st_size) + " bytes of " + std::to_string(needed) + ")");
    }
    return {HiveOpenStatus::kOpened, file.string() + ": opened"};
}

// The first free name of NAME.brisko-backup, NAME.brisko-backup.2, ...
bool freeBackupName(const fs::path& hive, fs::path& backup) {
    for (unsigned n = 1; n <= kBackupNamesTried; ++n) {
        backup = backupName(hive.string(), n);
        std::error_code error;
        if (fs::symlink_status(backup, error).type() == fs::file_type::not_found) return true;
    }
    return false;
}

// On the disk, not only in the page cache, before the rename relies on it.
bool syncToDisk(const fs::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool synced = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && synced;
}

}  // namespace

std::unique_ptr<HiveFile> HiveFile::open(const fs::path& file, HiveOpening& opening) {
    opening = checkBaseBlock(file);
    if (opening.status != HiveOpenStatus::kOpened) return nullptr;
    // Writable in memory only: hivex reads the file and never writes it
    // unless committed.
    hive_h* hive = hivex_open(file.c_str(), HIVEX_OPEN_WRITE);
    if (hive == nullptr) {
        opening = refused(HiveOpenStatus::kDamaged, file,
                          std::string("not a registry hive, or a damaged one (") + std::strerror(errno) + ")");
        return nullptr;
    }
    return std::unique_ptr<HiveFile>(new HiveFile(file, hive));
}

HiveFile::~HiveFile() { hivex_close(hive_); }

HiveWrite HiveFile::writeBack() {
    HiveWrite result{HiveWriteStatus::kBackupFailed, path_, {}, {}};
    fs::path backup;
    if (!freeBackupName(path_, backup)) {
        result.text = path_.string() + ": not written: no free name for its backup";
        return result;
    }
    std::error_code error;
    if (!fs::copy_file(path_, backup, fs::copy_options::none, error) || !syncToDisk(backup)) {
        result.text = path_.string() + ": not written: cannot back it up as " + backup.string() + " (" +
                      (error ? error.message() : "not synced") + ")";
        return result;
    }
    result.backup = backup;

    result.status = HiveWriteStatus::kWriteFailed;
    const std::string unchanged = "; the hive is as it was, its backup is " + backup.string();
    std::string pattern = path_.string() + ".brisko-new-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        result.text = path_.string() + ": not written: cannot make a new file beside it (" + std::strerror(errno) +
                      ")" + unchanged;
        return result;
    }
    ::close(descriptor);
    const fs::path fresh = pattern;
    // mkstemp makes the file private; the hive keeps the permissions it had.
    struct stat original {};
    if (::stat(path_.c_str(), &original) == 0) ::chmod(fresh.c_str(), original.st_mode & 07777);
    if (hivex_commit(hive_, fresh.c_str(), 0) != 0 || !syncToDisk(fresh) ||
        ::rename(fresh.c_str(), path_.c_str()) != 0) {
        const int failure = errno;
        fs::remove(fresh, error);
        result.text = path_.string() + ": not written (" + std::strerror(failure) + ")" + unchanged;
        return result;
    }
    changed_ = false;
    result.status = HiveWriteStatus::kWritten;
    result.text = path_.string() + ": written; the old hive kept as " + backup.string();
    return result;
}

}  // namespace brisko
