// brisko-scan: scans a Windows volume mounted on Linux. The folder becomes
// drive C: of a simulated machine with an empty registry, no running
// processes and a platform of neither Windows family, and the program's own
// scan runs over it.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/fake/fake_machine.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tools/brisko_scan/command_line.h"
#include "tools/brisko_scan/console_front_end.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitInfected = 1;
constexpr int kExitUsage = 2;

bool isReadableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator probe(folder, error);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brisko;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return kExitClean;
    }
    const std::optional<ScanRequest> request = parseCommandLine(arguments);
    if (!request) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (!isReadableFolder(request->folder)) {
        std::fprintf(stderr, "brisko-scan: cannot read the folder %s\n", request->folder.c_str());
        return kExitUsage;
    }

    fake::FakeMachine machine;
    machine.addDriveAt('C', request->folder);
    // The volume is not a running system: a platform of neither family
    // keeps the process scan, the hosts check and the deletion at the next
    // start from acting on it.
    machine.fakeControl().setVersion(kPlatformWin32s, 3);
    ConsoleFrontEnd console(stdout, stderr, ::isatty(STDERR_FILENO) != 0);
    Scan scan(console);
    ScanSession& session = scan.session();
    session.reportWindow = kWindowlessReport;
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "C:");
    session.userAction = request->userAction;

    runScanDriver(scan);
    // The end text is the last item shown.
    console.clearProgress();
    std::printf("%s\n", session.currentItem);
    return session.filesInfected > 0 ? kExitInfected : kExitClean;
}
