#include "tools/brisko_scan/command_line.h"

#include "session/scan_session.h"

namespace brisko {
namespace {

const char* const kVolumeUsage =
    "usage: brisko-scan [--action remove|rename|leave] [--log FILE] [--report FILE] FOLDER\n"
    "       brisko-scan --help | --version\n"
    "Scans the Windows volume mounted at FOLDER as drive C: for W32/Krenot, and\n"
    "cleans the hosts file and the autostart values of the Windows it holds.\n"
    "Nothing is changed unless --action says so; a hosts file or registry hive\n"
    "is copied to NAME.brisko-backup before it changes. --log appends the report\n"
    "lines to FILE under a header naming the machine, the user, the time and the\n"
    "version. --report writes every event to FILE, one JSON object a line, and a\n"
    "summary object last.\n"
    "Exit status: 0 clean, 1 infected files found and treated as asked,\n"
    "2 usage error or unreadable FOLDER, 3 something found could not be treated.\n";

const char* const kWindowsUsage =
    "usage: brisko-scan.exe [--action remove|rename|leave] [--restart never|force]\n"
    "                       [--log FILE] [--report FILE] [FOLDER]\n"
    "       brisko-scan.exe --help | --version\n"
    "Scans this Windows for W32/Krenot: the running programs, every fixed drive,\n"
    "and the autostart values, services and hosts file the trojan leaves. With\n"
    "FOLDER, that folder only. Needs administrator rights for the whole system.\n"
    "Nothing is changed unless --action says so. --restart force restarts the\n"
    "machine when a removal can only finish at the next start; with never (the\n"
    "default) the exit status says that a restart is needed. --log appends the\n"
    "report lines to FILE under a header naming the machine, the user, the time\n"
    "and the version. --report writes every event to FILE, one JSON object a line.\n"
    "Exit status: 0 clean, 1 infected files found and treated as asked, 3010 a\n"
    "restart is needed to finish, 1641 a restart was started, 2 error or no\n"
    "administrator rights, 3 something found could not be treated.\n";

std::optional<std::int32_t> actionNamed(const std::string& name) {
    if (name == "remove") return kActionRemove;
    if (name == "rename") return kActionRename;
    if (name == "leave") return kActionLeave;
    return std::nullopt;
}

std::optional<RestartChoice> restartNamed(const std::string& name) {
    if (name == "never") return RestartChoice::kNever;
    if (name == "force") return RestartChoice::kForce;
    return std::nullopt;
}

// Whether arguments[i] is the option, as "--name VALUE" or "--name=VALUE";
// its value, when one is there, goes to value and i moves past it.
bool isOption(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
              std::optional<std::string>& value) {
    const std::string& argument = arguments[i];
    if (argument == name) {
        if (i + 1 < arguments.size()) value = arguments[++i];
        return true;
    }
    if (argument.rfind(name + "=", 0) == 0) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool takeFileName(const std::optional<std::string>& value, std::string& file) {
    if (!value || value->empty()) return false;
    file = *value;
    return true;
}

}  // namespace

std::optional<ScanRequest> parseCommandLine(const std::vector<std::string>& arguments, ScanHost host,
                                            std::string& refusal) {
    refusal.clear();
    ScanRequest request;
    request.userAction = kActionLeave;
    bool haveFolder = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string> value;
        if (isOption(arguments, i, "--action", value)) {
            const std::optional<std::int32_t> named = value ? actionNamed(*value) : std::nullopt;
            if (!named) return std::nullopt;
            request.userAction = *named;
        } else if (isOption(arguments, i, "--restart", value)) {
            if (host == ScanHost::kMountedVolume) {
                refusal = "--restart is for brisko-scan.exe on a running Windows; a mounted volume has nothing to restart";
                return std::nullopt;
            }
            const std::optional<RestartChoice> named = value ? restartNamed(*value) : std::nullopt;
            if (!named) return std::nullopt;
            request.restart = *named;
        } else if (isOption(arguments, i, "--log", value)) {
            if (!takeFileName(value, request.logFile)) return std::nullopt;
        } else if (isOption(arguments, i, "--report", value)) {
            if (!takeFileName(value, request.reportFile)) return std::nullopt;
        } else if (argument == "--") {
            // An empty FOLDER would read as the whole system.
            if (haveFolder || i + 2 != arguments.size() || arguments[i + 1].empty()) return std::nullopt;
            request.folder = arguments[++i];
            haveFolder = true;
        } else if (argument.empty() || argument[0] == '-' || haveFolder) {
            return std::nullopt;
        } else {
            request.folder = argument;
            haveFolder = true;
        }
    }
    if (!haveFolder && host == ScanHost::kMountedVolume) {
        refusal = "FOLDER is needed: the folder where the Windows volume is mounted";
        return std::nullopt;
    }
    return request;
}

const char* usageOf(ScanHost host) { return host == ScanHost::kMountedVolume ? kVolumeUsage : kWindowsUsage; }

}  // namespace brisko
