// brisko-scan: scans a Windows volume mounted on Linux. The folder becomes
// drive C: of an offline system with no running processes and a platform
// of neither Windows family, and the program's own scan runs over it; each
// detection also cleans the volume's hosts file and the autostart values of
// its hives.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/program_identity.h"
#include "platform/volume/volume_platform.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tools/brisko_scan/command_line.h"
#include "tools/brisko_scan/console_front_end.h"
#include "tools/brisko_scan/exit_status.h"
#include "tools/brisko_scan/json_report.h"
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
    // Opened before anything is scanned, so that a report that cannot be
    // written stops the run at once.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> reportFile(
        request->reportFile.empty() ? nullptr : std::fopen(request->reportFile.c_str(), "w"), &std::fclose);
    if (!request->reportFile.empty() && !reportFile) {
        std::fprintf(stderr, "brisko-scan: cannot write the report %s\n", request->reportFile.c_str());
        return kExitUsage;
    }
    std::optional<JsonReport> report;
    if (reportFile) report.emplace(console, reportFile.get());
    ScanFrontEnd& frontEnd = report ? static_cast<ScanFrontEnd&>(*report) : console;

    const std::unique_ptr<volume::VolumePlatform> volume = volume::VolumePlatform::open(
        request->folder.c_str(), [&console, &frontEnd, &request](const std::string& line) {
            console.clearProgress();
            std::fprintf(stderr, "brisko-scan: %s\n", line.c_str());
            frontEnd.noteEvent({ScanEventKind::kError, request->folder.c_str(), nullptr, line.c_str()});
        });
    if (!volume) {
        std::fprintf(stderr, "brisko-scan: cannot read the folder %s\n", request->folder.c_str());
        return kExitUsage;
    }
    installPlatform(volume.get());
    // Under --action leave nothing is written: the report says what would be.
    OfflineCleanup cleanup(*volume, frontEnd, findInstallation(), request->userAction != kActionLeave);
    cleanup.openHives();
    Scan scan(frontEnd, cleanup);
    ScanSession& session = scan.session();
    console.follow(session);
    session.reportWindow = kWindowlessReport;
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "C:");
    session.userAction = request->userAction;

    runScanDriver(scan);
    cleanup.writeBack();
    // The end text is the last item shown.
    console.clearProgress();
    std::printf("%s\n", session.currentItem);
    installPlatform(nullptr);
    const int status = exitStatusOf(session, cleanup.failed());
    if (report) report->writeSummary(session, status);
    return status;
}
