#pragma once
// Deletion of a locked file by the system at its next start.

namespace brisko {

// 1 when the deletion at the next start has been arranged, 0 otherwise.
int scheduleDeletionAtRestart(const char* path);

}  // namespace brisko
