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
#include "platform/hive/base_block.h"
#include "platform/hive/log_files.h"

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
HiveOpening checkBaseBlock(const fs::path& file, bool& dirty) {
    dirty = false;
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
    // A dirty hive's size is judged once its logs are replayed.
    dirty = hive::hiveDirty(block);
    if (dirty) return {HiveOpenStatus::kOpened, file.string() + ": opened"};
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

// A private file outside the volume holding the replayed hive, opened by
// hivex and removed at once: hivex reads a hive it may change whole.
hive_h* openImage(const std::vector<std::uint8_t>& image) {
    std::error_code error;
    fs::path folder = fs::temp_directory_path(error);
    if (error) folder = "/tmp";  // never the working folder, which may be the volume's
    std::string pattern = (folder / "brisko-replayed-hive-XXXXXX").string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) return nullptr;
    std::size_t written = 0;
    while (written < image.size()) {
        const ssize_t piece = ::write(descriptor, image.data() + written, image.size() - written);
        if (piece <= 0) break;
        written += static_cast<std::size_t>(piece);
    }
    if (written != image.size()) errno = errno == 0 ? ENOSPC : errno;
    ::close(descriptor);
    hive_h* hive = written == image.size() ? hivex_open(pattern.c_str(), HIVEX_OPEN_WRITE) : nullptr;
    const int failure = errno;
    ::unlink(pattern.c_str());
    errno = failure;
    return hive;
}

}  // namespace

std::unique_ptr<HiveFile> HiveFile::open(const fs::path& file, HiveOpening& opening) {
    bool dirty = false;
    opening = checkBaseBlock(file, dirty);
    if (opening.status != HiveOpenStatus::kOpened) return nullptr;
    if (dirty) return openDirty(file, opening);
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

std::unique_ptr<HiveFile> HiveFile::openDirty(const fs::path& file, HiveOpening& opening) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!hive::readWholeFile(AT_FDCWD, file.c_str(), bytes, why)) {
        opening = refused(HiveOpenStatus::kUnreadable, file, why);
        return nullptr;
    }
    std::vector<hive::LogFile> logs;
    hive::HiveReplay replay;
    if (hive::readLogsBeside(file, logs, why)) {
        std::vector<hive::LogBytes> views;
        for (const hive::LogFile& log : logs) {
            views.push_back({log.path.filename().string(), log.bytes.data(), log.bytes.size()});
        }
        replay = hive::replayHive(bytes, views);
    } else {
        replay.state = hive::HiveLogState::kNotReplayable;
        replay.text = why;
        replay.readableAsItStands = hive::baseBlockValid(bytes.data());
    }
    // hivex accepts a hive cut short after its first bin.
    const bool whole = bytes.size() >= hive::kBaseBlockSize &&
                       bytes.size() - hive::kBaseBlockSize >= readLittle32(bytes.data() + hive::kBinsSizeAt);
    bytes.clear();
    bytes.shrink_to_fit();

    if (replay.state == hive::HiveLogState::kReplayed) {
        hive_h* hive = openImage(replay.image);
        if (hive == nullptr) {
            opening = refused(HiveOpenStatus::kDamaged, file,
                              replay.text + ", but what came of it cannot be read (" + std::strerror(errno) + ")");
            return nullptr;
        }
        std::unique_ptr<HiveFile> opened(new HiveFile(file, hive));
        opened->replayed_ = true;
        for (const hive::LogFile& log : logs) opened->logs_.push_back(log.path);
        opened->highestLogSequence_ = replay.highestLogSequence;
        opening = {HiveOpenStatus::kOpened, file.string() + ": " + replay.text, hive::HiveLogState::kReplayed};
        return opened;
    }
    if (!replay.readableAsItStands || !whole) {
        opening = refused(HiveOpenStatus::kDamaged, file, replay.text + (whole ? "" : ", and the hive is truncated"));
        return nullptr;
    }
    hive_h* hive = hivex_open(file.c_str(), HIVEX_OPEN_WRITE);
    if (hive == nullptr) {
        opening = refused(HiveOpenStatus::kDamaged, file, replay.text + "; not a hive hivex can read as it stands");
        return nullptr;
    }
    std::unique_ptr<HiveFile> opened(new HiveFile(file, hive));
    opened->notWritable_ = "its logs cannot be replayed: " + replay.text;
    opening = {HiveOpenStatus::kOpened, file.string() + ": dirty, and " + opened->notWritable_ + "; read as it stands",
               hive::HiveLogState::kNotReplayable};
    return opened;
}

HiveFile::~HiveFile() { hivex_close(hive_); }

namespace {

// Backs file up under the first free backup name; the copy's name, or empty
// with why when none could be made.
fs::path backUp(const fs::path& file, std::string& why) {
    fs::path backup;
    if (!freeBackupName(file, backup)) {
        why = "no free name for the backup of " + file.string();
        return {};
    }
    std::error_code error;
    if (!fs::copy_file(file, backup, fs::copy_options::none, error) || !syncToDisk(backup)) {
        why = "cannot back " + file.string() + " up as " + backup.string() + " (" +
              (error ? error.message() : "not synced") + ")";
        return {};
    }
    return backup;
}

// What hivex wrote, made right: the file type of a hive, two equal
// sequence numbers above every log entry's, so that Windows never replays
// a stale entry over it, and a valid checksum.
bool settleBaseBlock(const fs::path& file, std::uint32_t highestLogSequence) {
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0) return false;
    std::uint8_t block[hive::kBaseBlockSize];
    bool settled = ::pread(descriptor, block, sizeof block, 0) == static_cast<ssize_t>(sizeof block) &&
                   std::memcmp(block, "regf", 4) == 0;
    if (settled) {
        std::uint32_t sequence = readLittle32(block + hive::kPrimarySequenceAt);
        if (!hive::sequenceBefore(highestLogSequence, sequence)) sequence = highestLogSequence + 1;
        if (sequence == 0) sequence = 1;
        const bool right = readLittle32(block + hive::kPrimarySequenceAt) == sequence &&
                           readLittle32(block + hive::kSecondarySequenceAt) == sequence &&
                           readLittle32(block + hive::kFileTypeAt) == hive::kFileTypePrimary &&
                           hive::checksumValid(block);
        if (!right) {
            hive::writeLittle32(block + hive::kPrimarySequenceAt, sequence);
            hive::writeLittle32(block + hive::kSecondarySequenceAt, sequence);
            hive::writeLittle32(block + hive::kFileTypeAt, hive::kFileTypePrimary);
            hive::sealBaseBlock(block);
            settled = ::pwrite(descriptor, block, sizeof block, 0) == static_cast<ssize_t>(sizeof block);
        }
    }
    return ::close(descriptor) == 0 && settled;
}

}  // namespace

HiveWrite HiveFile::writeBack() {
    HiveWrite result{HiveWriteStatus::kBackupFailed, path_, {}, {}, {}};
    if (!notWritable_.empty()) {
        result.status = HiveWriteStatus::kRefused;
        result.text = path_.string() + ": not written: " + notWritable_ + "; the hive and its logs are as they were";
        return result;
    }
    std::string why;
    const fs::path backup = backUp(path_, why);
    if (backup.empty()) {
        result.text = path_.string() + ": not written: " + why;
        return result;
    }
    result.backup = backup;
    // The logs replayed are kept as they were, beside their hive.
    for (const fs::path& log : replayed_ ? logs_ : std::vector<fs::path>{}) {
        const fs::path copy = backUp(log, why);
        if (copy.empty()) {
            result.text = path_.string() + ": not written: " + why + "; the hive is as it was, its backup is " +
                          backup.string();
            return result;
        }
        result.logBackups.push_back(copy);
    }

    result.status = HiveWriteStatus::kWriteFailed;
    std::error_code error;
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
    errno = 0;
    if (hivex_commit(hive_, fresh.c_str(), 0) != 0 || (replayed_ && !settleBaseBlock(fresh, highestLogSequence_)) ||
        !syncToDisk(fresh) || ::rename(fresh.c_str(), path_.c_str()) != 0) {
        const int failure = errno;
        fs::remove(fresh, error);
        result.text = path_.string() + ": not written (" + std::strerror(failure) + ")" + unchanged;
        return result;
    }
    changed_ = false;
    result.status = HiveWriteStatus::kWritten;
    result.text = path_.string() + ": written; the old hive kept as " + backup.string();
    if (replayed_) {
        result.text += ", with its logs replayed into it; the logs are left as they were, their copies kept as ";
        for (std::size_t i = 0; i < result.logBackups.size(); ++i) {
            result.text += (i == 0 ? "" : ", ") + result.logBackups[i].string();
        }
    }
    return result;
}

}  // namespace brisko
