#pragma once
// Every path below a folder with a digest of what it holds, to tell exactly
// what a run changed there. Links are listed with their target and never
// followed.
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace brisko::testing {

struct SnapshotEntry {
    enum class Kind { kFolder, kFile, kLink, kOther };
    Kind kind = Kind::kOther;
    // A file's length and content hash, a link's target; empty otherwise.
    std::string digest;

    bool operator==(const SnapshotEntry& other) const { return kind == other.kind && digest == other.digest; }
    bool operator!=(const SnapshotEntry& other) const { return !(*this == other); }
};

// Keyed by the path below the folder, '/' between names.
using FolderSnapshot = std::map<std::string, SnapshotEntry>;

FolderSnapshot snapshotOf(const std::filesystem::path& folder);

// One line for each path that is missing, extra or different in actual.
std::vector<std::string> differencesBetween(const FolderSnapshot& expected, const FolderSnapshot& actual);

std::ostream& operator<<(std::ostream& out, const SnapshotEntry& entry);

}  // namespace brisko::testing
