#pragma once
// The scan of running processes' image files, and the ending of the
// processes that run a given file.
#include <cstdint>

namespace brisko {

// Set once an infected process could be neither ended nor stopped as a
// service; never cleared.
extern std::int32_t memoryRestartNeeded;

// Tests the image file of every running process before the drives are
// walked; infected processes are ended and their files treated. On the NT
// family an infected process left running ends the program after the
// restart prompt.
void runMemoryScan();

// Ends the processes that run the file at path. 1 when they were ended or
// none had to be, 0 on failure.
int terminateByPath(const char* path);

}  // namespace brisko
