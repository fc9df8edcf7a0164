#pragma once
// The scan of brisko-scan.exe: the scan of brisko.exe from a console, for
// deployment tools that clean many machines. Without FOLDER it is the
// whole live scan: the running programs, every fixed drive, the registry,
// services and hosts file, and the deletion at the next start. Nothing is
// shown on screen and nothing is asked: the command line answers, the
// report goes to stdout (and a log), and the exit status tells the outcome.
#include "platform/platform.h"
#include "tools/brisko_scan/command_line.h"

namespace brisko {

// Runs the request on the system, installed for the run behind a platform
// that keeps it off the screen; the exit status. The memory scan may end
// the program before this returns, with the status it would have returned.
int scanRunningSystem(const ScanRequest& request, Platform& system, bool progressIsTerminal);

}  // namespace brisko
