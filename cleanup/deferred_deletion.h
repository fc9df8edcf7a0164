#pragma once
// Deletion of a locked file by the system at its next start: an entry in
// wininit.ini's [rename] section on the 9x family, a delayed move on NT.

#include "session/scan_context.h"

namespace brisko {

// 1 when the deletion at the next start has been arranged, 0 otherwise.
int scheduleDeletionAtRestart(ScanContext& scan, const char* path);

// Writes the line target=source into the [rename] section of wininit.ini in
// the Windows folder, creating the file when there is none. 1 when done; 0
// on any failure, after which wininit.ini holds what it held before (or,
// when even that failed, the report tells where its old content is kept).
int addRenameEntry(ScanContext& scan, const char* target, const char* source);

}  // namespace brisko
