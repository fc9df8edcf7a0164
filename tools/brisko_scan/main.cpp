// brisko-scan: scans a Windows volume mounted on Linux. The folder becomes
// drive C: of an offline system with no running processes and a platform
// of neither Windows family, and the program's own scan runs over it; each
// detection also cleans the volume's hosts file and the autostart values of
// its hives.
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/volume/volume_platform.h"
#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tools/brisko_scan/console_run.h"
#include "tools/brisko_scan/exit_status.h"
#include "tools/brisko_scan/offline/hibernation.h"
#include "tools/brisko_scan/offline/offline_cleanup.h"

namespace {

brisko::RunIdentity thisRun() {
    brisko::RunIdentity identity{"unknown machine", "unknown user", std::time(nullptr)};
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) == 0 && host[0] != '\0') identity.machine = host;
    if (const passwd* account = ::getpwuid(::geteuid())) identity.user = account->pw_name;
    return identity;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brisko;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const std::optional<int> answered = answerHelpOrVersion(arguments, ScanHost::kMountedVolume)) {
        return *answered;
    }
    const std::optional<ScanRequest> request = readCommandLine(arguments, ScanHost::kMountedVolume);
    if (!request) return kExitUsage;
    ConsoleRun run(*request, ::isatty(STDERR_FILENO) != 0);
    if (!run.openOutputs(thisRun())) return kExitUsage;
    ScanFrontEnd& frontEnd = run.frontEnd();

    const std::unique_ptr<volume::VolumePlatform> volume = volume::VolumePlatform::open(
        request->folder.c_str(),
        [&run, &request](const std::string& line) { run.reportError(request->folder.c_str(), line); });
    if (!volume) {
        return run.refuse(request->folder.c_str(), "cannot read the folder " + request->folder);
    }
    installPlatform(volume.get());
    // A hibernated Windows would resume over any change: only a scan that
    // changes nothing may go on.
    if (request->userAction != kActionLeave) {
        const HibernationState hibernation = hibernationState();
        if (hibernation != HibernationState::kNotHibernated) {
            installPlatform(nullptr);
            return run.refuse("C:\\hiberfil.sys", hibernationRefusal(hibernation));
        }
    }
    // Under --action leave nothing is written: the report says what would be.
    OfflineCleanup cleanup(*volume, frontEnd, findInstallation(), request->userAction != kActionLeave);
    cleanup.openHives();
    Scan scan(frontEnd, cleanup);
    ScanSession& session = scan.session();
    run.console().follow(session);
    session.reportWindow = kWindowlessReport;
    std::snprintf(session.scanTarget, sizeof session.scanTarget, "C:");
    session.userAction = request->userAction;

    runScanDriver(scan);
    cleanup.writeBack();
    installPlatform(nullptr);
    return run.finish(session, exitStatusOf(session, cleanup.failed()));
}
