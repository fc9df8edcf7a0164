// brisko-scan: scans a Windows volume mounted on Linux. The folder becomes
// drive C: of an offline system with no running processes and a platform
// of neither Windows family, and the program's own scan runs over it; each
// detection also cleans the volume's hosts file and the autostart values of
// its hives.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/program_identity.h"
#include "platform/volume/volume_platform.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tools/brisko_scan/command_line.h"
#include "tools/brisko_scan/console_front_end.h"
#include "tools/brisko_scan/exit_status.h"
#include "tools/brisko_scan/offline/offline_cleanup.h"

int main(int argc, char** argv) {
    using namespace brisko;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return kExitClean;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        std::printf("brisko-scan (%s)\n", programTitle);
        return kExitClean;
    }
    const std::optional<ScanRequest> request = parseCommandLine(arguments);
    if (!request) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    ConsoleFrontEnd console(stdout, stderr, ::isatty(STDERR_FILENO) != 0);
    const std::unique_ptr<volume::VolumePlatform> volume =
        volume::VolumePlatform::open(request->folder.c_str(), [&console](const std::string& line) {
            console.clearProgress();
            std::fprintf(stderr, "brisko-scan: %s\n", line.c_str());
        });
    if (!volume) {
        std::fprintf(stderr, "brisko-scan: cannot read the folder %s\n", request->folder.c_str());
        return kExitUsage;
    }
    installPlatform(volume.get());
    // Under --action leave nothing is written: the report says what would be.
    OfflineCleanup cleanup(*volume, console, findInstallation(), request->userAction != kActionLeave);
    for (const std::string& line : cleanup.openHives()) console.appendLine(line.c_str());
    Scan scan(console, cleanup);
    ScanSession& session = scan.session();
    console.follow(session);
    session.reportWindow = kWindowlessReport;
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "C:");
    session.userAction = request->userAction;

    runScanDriver(scan);
    for (const std::string& line : cleanup.writeBack()) console.appendLine(line.c_str());
    // The end text is the last item shown.
    console.clearProgress();
    std::printf("%s\n", session.currentItem);
    installPlatform(nullptr);
    return exitStatusOf(session, cleanup.failed());
}
