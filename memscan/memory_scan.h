#pragma once
// The scan of running processes' image files, and the ending of the
// processes that run a given file.
#include "session/scan_context.h"
#include "walk/directory_walk.h"

namespace brisko {

// Tests the image file of every running process before the drives are
// walked, offering each to the examiner; infected processes are ended and
// their files treated. On the NT family an infected process left running
// ends the program after the restart question.
void runMemoryScan(ScanContext& scan, FileVisitor& examiner);

// Ends the processes that run the file at path. 1 when they were ended or
// none had to be, 0 on failure.
int terminateByPath(const char* path);

}  // namespace brisko
