#pragma once
// The hosts file at a detection: an infected one is counted and treated
// like an infected file, by the user's action and with texts of its own.

namespace brisko {

class Scan;

// 1 when the file matched, whatever its treatment; 0 when it did not open
// or did not match.
int checkHostsFile(Scan& scan, const char* path);

// Checks the hosts file of the running family, if it has one.
void checkHostsOfThisSystem(Scan& scan);

}  // namespace brisko
