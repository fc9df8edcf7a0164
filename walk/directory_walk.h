#pragma once
// The depth-first walk over a directory tree: each directory's entries are
// gone through twice, first to show every entry and offer every file, then
// to walk every subdirectory. A folder is listed once; the second pass goes
// through what the first kept of its listing.
#include <cstdint>

#include "session/scan_context.h"

namespace brisko {

// What the walk offers every file to.
class FileVisitor {
public:
    virtual ~FileVisitor() = default;
    // The length is the one the listing gave; the file itself may differ.
    virtual void offerFile(const char* path, std::uint64_t listedLength) = 0;
};

// Walks a search pattern: a directory path followed by "\*.*", or during the
// memory scan the full path of one file. Returns filesScanned when the walk
// reached its end, 0 when it was stopped, -1 when a pattern without any '.'
// had to be split.
int walkDirectory(ScanContext& scan, FileVisitor& visitor, const char* pattern);

}  // namespace brisko
