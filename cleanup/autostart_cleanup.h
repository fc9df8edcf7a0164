#pragma once
// What a detection removes from the registry besides the file: the
// autostart values that start the infected file (after the hosts check).

namespace brisko {

// Runs at every detection while infectedPath holds the file; returns 1.
int cleanAutostartEntries(const char* threatName);

}  // namespace brisko
