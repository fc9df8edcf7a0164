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

#include "engine/scan_driver.h"
#include "engine/scan_session.h"
#include "platform/fake/fake_machine.h"
#include "tools/brisko_scan/command_line.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitInfected = 1;
constexpr int kExitUsage = 2;

bool isReadableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator probe(folder, error);
    return !error;
}

// The report window of the console: lines go to standard output as they
// are posted; the item being scanned refreshes one line of a terminal.
class ConsoleReport {
public:
    ConsoleReport() : showProgress_(::isatty(STDERR_FILENO) != 0) {}

    void lineAppended(const char* line) {
        clearProgress();
        std::printf("%s\n", line);
        std::fflush(stdout);
    }
    void itemShown(const char* item) {
        if (!showProgress_) return;
        std::fprintf(stderr, "\r\x1b[K%s", item);
        progressShown_ = true;
    }
    void clearProgress() {
        if (!progressShown_) return;
        std::fputs("\r\x1b[K", stderr);
        progressShown_ = false;
    }

private:
    bool showProgress_;
    bool progressShown_ = false;
};

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
    ConsoleReport report;
    scanSession.reportWindow = machine.fakeWindows().createWindow([&report](const WindowMessage& message) {
        if (message.id == kAppendLineMessage) report.lineAppended(scanSession.reportLine);
        if (message.id == kShowItemMessage) report.itemShown(scanSession.currentItem);
    });
    std::snprintf(scanSession.scanTarget, sizeof scanSession.scanTarget, "C:");
    scanSession.userAction = request->userAction;

    runScanDriver();
    // The end text is the last item shown.
    report.clearProgress();
    std::printf("%s\n", scanSession.currentItem);
    return scanSession.filesInfected > 0 ? kExitInfected : kExitClean;
}
