#pragma once
// The hosts file check: a hosts file that begins with "begin" and carries
// the built-in pattern among its first bytes (whitespace ignored) is counted
// as infected and treated like an infected file.

namespace brisko {

// 1 when the file matched, whatever its treatment; 0 when it did not open
// or did not match.
int checkHostsFile(const char* path);

}  // namespace brisko
