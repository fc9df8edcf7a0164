#pragma once
// One hive file opened with hivex, its changes held in memory until they
// are written back: first a copy of the old file beside it, then the whole
// hive to a new file in the same folder, renamed over the old one, so the
// hive is never left half-written. A file hivex cannot read whole is never
// touched.
//
// A dirty hive (hive_replay.h) is read as Windows would load it: its
// transaction logs beside it (NAME.LOG, NAME.LOG1, NAME.LOG2, matched
// case-blind, never through a symbolic link) are replayed onto a copy in a
// private temporary file outside the volume, which hivex reads and which is
// removed at once. Writing it back keeps a backup of the hive and of each
// log, writes the consolidated hive with equal sequence numbers above every
// log entry's, and leaves the logs as they are. A dirty hive whose logs
// cannot be replayed safely is read as it stands and never written.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/hive/hive_replay.h"

struct hive_h;

namespace brisko {

enum class HiveOpenStatus : std::uint8_t {
    kOpened,
    kMissing,
    kUnreadable,  // the system refused to read it
    kDamaged,     // not a hive, or a truncated or damaged one
    kRootRefused, // the root is not one key name, or was presented already
};

struct HiveOpening {
    HiveOpenStatus status;
    std::string text;  // a line for the report: "<file>: <what happened>"
    // kOpened: whether its logs were replayed, or could not be (the hive is
    // then read as it stands and never written), and how, after "<file>: ".
    hive::HiveLogState logs = hive::HiveLogState::kClean;
};

enum class HiveWriteStatus : std::uint8_t {
    kWritten,
    kBackupFailed,  // nothing was written
    kWriteFailed,   // the backup stands, the hive is as it was
    kRefused,       // its logs could not be replayed: nothing written
};

struct HiveWrite {
    HiveWriteStatus status;
    std::filesystem::path hive;
    std::filesystem::path backup;  // empty when none was made
    std::vector<std::filesystem::path> logBackups;  // one for each log of a replayed hive
    std::string text;              // a line for the report
};

class HiveFile {
public:
    // Null, with the reason in opening, when the file cannot be used.
    static std::unique_ptr<HiveFile> open(const std::filesystem::path& file, HiveOpening& opening);
    ~HiveFile();
    HiveFile(const HiveFile&) = delete;
    HiveFile& operator=(const HiveFile&) = delete;

    hive_h* hive() { return hive_; }
    const std::filesystem::path& path() const { return path_; }

    void noteValuesChanged() { changed_ = true; }
    // A deleted key frees its cells: nodes found before must be found again.
    void noteKeyDeleted() {
        changed_ = true;
        ++keyDeletions_;
    }
    unsigned keyDeletions() const { return keyDeletions_; }
    bool changed() const { return changed_; }
    // Why the hive is never written (its logs could not be replayed);
    // empty when it may be.
    const std::string& notWritable() const { return notWritable_; }

    // Backs the file up (and its logs, when they were replayed) and writes
    // the changes over it.
    HiveWrite writeBack();

private:
    static std::unique_ptr<HiveFile> openDirty(const std::filesystem::path& file, HiveOpening& opening);
    HiveFile(std::filesystem::path path, hive_h* hive) : path_(std::move(path)), hive_(hive) {}

    std::filesystem::path path_;
    hive_h* hive_;
    // A replayed hive's logs, and the highest sequence number they hold.
    bool replayed_ = false;
    std::vector<std::filesystem::path> logs_;
    std::uint32_t highestLogSequence_ = 0;
    std::string notWritable_;
    bool changed_ = false;
    unsigned keyDeletions_ = 0;
};

}  // namespace brisko
