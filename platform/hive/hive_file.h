#pragma once
// One hive file opened with hivex, its changes held in memory until they
// are written back: first a copy of the old file beside it, then the whole
// hive to a new file in the same folder, renamed over the old one, so the
// hive is never left half-written. A file hivex cannot read whole is never
// touched.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

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
};

enum class HiveWriteStatus : std::uint8_t {
    kWritten,
    kBackupFailed,  // nothing was written
    kWriteFailed,   // the backup stands, the hive is as it was
};

struct HiveWrite {
    HiveWriteStatus status;
    std::filesystem::path hive;
    std::filesystem::path backup;  // empty when none was made
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

    // Backs the file up and writes the changes over it.
    HiveWrite writeBack();

private:
    HiveFile(std::filesystem::path path, hive_h* hive) : path_(std::move(path)), hive_(hive) {}

    std::filesystem::path path_;
    hive_h* hive_;
    bool changed_ = false;
    unsigned keyDeletions_ = 0;
};

}  // namespace brisko
