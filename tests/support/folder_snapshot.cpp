#include "tests/support/folder_snapshot.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;

// FNV-1a over the whole file: enough to tell contents apart in a test.
std::string digestOfFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::uint64_t hash = 14695981039346656037ull;
    std::uint64_t length = 0;
    char buffer[64 * 1024];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
        }
        length += static_cast<std::uint64_t>(in.gcount());
    }
    char text[48];
    std::snprintf(text, sizeof text, "%llu bytes, %016llx", static_cast<unsigned long long>(length),
                  static_cast<unsigned long long>(hash));
    return text;
}

SnapshotEntry entryOf(const fs::directory_entry& entry) {
    if (entry.is_symlink()) return {SnapshotEntry::Kind::kLink, fs::read_symlink(entry.path()).string()};
    if (entry.is_directory()) return {SnapshotEntry::Kind::kFolder, {}};
    if (entry.is_regular_file()) return {SnapshotEntry::Kind::kFile, digestOfFile(entry.path())};
    return {SnapshotEntry::Kind::kOther, {}};
}

}  // namespace

FolderSnapshot snapshotOf(const fs::path& folder) {
    FolderSnapshot snapshot;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        snapshot[entry.path().lexically_relative(folder).generic_string()] = entryOf(entry);
    }
    return snapshot;
}

std::vector<std::string> differencesBetween(const FolderSnapshot& expected, const FolderSnapshot& actual) {
    std::vector<std::string> differences;
    const auto describe = [](const std::string& path, const SnapshotEntry& entry) {
        std::ostringstream line;
        line << path << " (" << entry << ")";
        return line.str();
    };
    for (const auto& [path, entry] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            differences.push_back("missing: " + describe(path, entry));
        } else if (found->second != entry) {
            std::ostringstream line;
            line << "changed: " << path << " (" << found->second << ", expected " << entry << ")";
            differences.push_back(line.str());
        }
    }
    for (const auto& [path, entry] : actual) {
        if (expected.count(path) == 0) differences.push_back("extra: " + describe(path, entry));
    }
    return differences;
}

std::ostream& operator<<(std::ostream& out, const SnapshotEntry& entry) {
    switch (entry.kind) {
        case SnapshotEntry::Kind::kFolder:
            return out << "folder";
        case SnapshotEntry::Kind::kFile:
            return out << "file of " << entry.digest;
        case SnapshotEntry::Kind::kLink:
            return out << "link to " << entry.digest;
        case SnapshotEntry::Kind::kOther:
            return out << "neither file, folder nor link";
    }
    return out;
}

}  // namespace brisko::testing
