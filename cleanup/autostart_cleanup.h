#pragma once
// What a detection removes from the registry besides the file: the
// autostart values that start the infected file.
#include "session/scan_context.h"

namespace brisko {

// Runs at every detection (after the hosts check) while infectedPath holds
// the file; returns 1.
int cleanAutostartEntries(ScanContext& scan, const char* threatName);

}  // namespace brisko
