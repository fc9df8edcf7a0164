#pragma once
// The depth-first walk over a directory tree: each directory is listed
// twice, first to show every entry and offer every file to the threat
// callbacks, then to walk every subdirectory.

namespace brisko {

// Walks a search pattern: a directory path followed by "\*.*", or during the
// memory scan the full path of one file. Returns filesScanned when the walk
// reached its end, 0 when it was stopped, -1 when a pattern without any '.'
// had to be split.
int walkDirectory(const char* pattern);

}  // namespace brisko
