#include "tools/brisko_scan/live/live_scan.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "platform/administrator_rights.h"
#include "platform/single_instance.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tools/brisko_scan/console_run.h"
#include "tools/brisko_scan/exit_status.h"
#include "tools/brisko_scan/live/folder_scan_actions.h"
#include "tools/brisko_scan/live/silent_platform.h"

namespace brisko {
namespace {

// The platform is installed for the run, and taken away on every way out.
class InstalledPlatform {
public:
    explicit InstalledPlatform(Platform& platform) { installPlatform(&platform); }
    ~InstalledPlatform() { installPlatform(nullptr); }
    InstalledPlatform(const InstalledPlatform&) = delete;
    InstalledPlatform& operator=(const InstalledPlatform&) = delete;
};

// The value of an environment variable, or fallback when it is not set.
std::string environmentValue(const char* name, const char* fallback) {
    const std::string reference = std::string("%") + name + "%";
    char value[256];
    const unsigned size = systemServices().expandEnvironmentStrings(reference.c_str(), value, sizeof value);
    if (size == 0 || size > sizeof value || reference == value) return fallback;
    return value;
}

}  // namespace

int scanRunningSystem(const ScanRequest& request, Platform& system, bool progressIsTerminal) {
    ConsoleRun run(request, progressIsTerminal);
    // Set once the scan exists: the memory scan may end the program.
    ScanSession* session = nullptr;
    SilentPlatform platform(
        system,
        [&run](const char* text, const char* caption) {
            run.reportError(caption, std::string(caption) + ": " + text);
        },
        [&run, &session, &platform] {
            if (session == nullptr) return kExitUsage;
            return run.finish(*session, liveExitStatusOf(*session, platform.restartStarted()));
        });
    const InstalledPlatform installed(platform);
    if (!run.openOutputs({environmentValue("COMPUTERNAME", "unknown machine"),
                          environmentValue("USERNAME", "unknown user"), std::time(nullptr)})) {
        return kExitUsage;
    }
    const std::unique_ptr<NamedClaim> instance = claimSingleInstance();
    if (instance == nullptr) {
        return run.refuse("", "brisko.exe or another brisko-scan.exe is running already");
    }
    const bool wholeSystem = request.folder.empty();
    if (wholeSystem && !holdsAdministratorRights()) {
        return run.refuse("", "the scan of the whole system needs administrator rights: nothing was scanned");
    }

    // A trailing backslash changes nothing: "D:\" walks as the drive "D:".
    std::string target = wholeSystem ? kAllFixedDrives : request.folder;
    while (target.size() > 1 && (target.back() == '\\' || target.back() == '/')) target.pop_back();
    if (target.size() >= sizeof(ScanSession::scanTarget)) {
        return run.refuse(request.folder.c_str(), "the folder's path is too long: " + request.folder);
    }

    FolderScanActions folderActions;
    Scan scan = wholeSystem ? Scan(run.frontEnd()) : Scan(run.frontEnd(), folderActions);
    session = &scan.session();
    run.console().follow(*session);
    session->reportWindow = kWindowlessReport;
    std::snprintf(session->scanTarget, sizeof session->scanTarget, "%s", target.c_str());
    session->userAction = request.userAction;

    runScanDriver(scan);
    return run.finish(*session, liveExitStatusOf(*session, platform.restartStarted()));
}

}  // namespace brisko

