#include "memscan/memory_scan.h"

namespace brisko {

// The process lists are not read yet: with no process known there is
// nothing to test and nothing to end.
void runMemoryScan() {}

int terminateByPath(const char*) { return 1; }

}  // namespace brisko
