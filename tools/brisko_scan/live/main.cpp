// brisko-scan.exe: the scan of brisko.exe from a console, for deployment
// tools that clean many machines (live_scan.h).
#include <io.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tools/brisko_scan/console_run.h"
#include "tools/brisko_scan/exit_status.h"
#include "tools/brisko_scan/live/live_scan.h"

int main(int argc, char** argv) {
    using namespace brisko;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const std::optional<int> answered = answerHelpOrVersion(arguments, ScanHost::kRunningWindows)) {
        return *answered;
    }
    const std::optional<ScanRequest> request = readCommandLine(arguments, ScanHost::kRunningWindows);
    if (!request) return kExitUsage;
    Win32Platform system;
    return scanRunningSystem(*request, system, _isatty(_fileno(stderr)) != 0);
}
