#include "tools/brisko_scan/command_line.h"

#include "session/scan_session.h"

namespace brisko {

const char* const kUsage =
    "usage: brisko-scan [--action remove|rename|leave] [--report FILE] FOLDER\n"
    "       brisko-scan --help | --version\n"
    "Scans the Windows volume mounted at FOLDER as drive C: for W32/Krenot, and\n"
    "cleans the hosts file and the autostart values of the Windows it holds.\n"
    "Nothing is changed unless --action says so; a hosts file or registry hive\n"
    "is copied to NAME.brisko-backup before it changes. --report writes every\n"
    "event to FILE, one JSON object a line, and a summary object last.\n"
    "Exit status: 0 clean, 1 infected files found and treated as asked,\n"
    "2 usage error or unreadable FOLDER, 3 something found could not be treated.\n";

namespace {

std::optional<std::int32_t> actionNamed(const std::string& name) {
    if (name == "remove") return kActionRemove;
    if (name == "rename") return kActionRename;
    if (name == "leave") return kActionLeave;
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

}  // namespace

std::optional<ScanRequest> parseCommandLine(const std::vector<std::string>& arguments) {
    ScanRequest request{kActionLeave, {}, {}};
    bool haveFolder = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::optional<std::string> value;
        if (isOption(arguments, i, "--action", value)) {
            const std::optional<std::int32_t> named = value ? actionNamed(*value) : std::nullopt;
            if (!named) return std::nullopt;
            request.userAction = *named;
        } else if (isOption(arguments, i, "--report", value)) {
            if (!value || value->empty()) return std::nullopt;
            request.reportFile = *value;
        } else if (argument == "--") {
            if (haveFolder || i + 2 != arguments.size()) return std::nullopt;
            request.folder = arguments[++i];
            haveFolder = true;
        } else if (argument.empty() || argument[0] == '-' || haveFolder) {
            return std::nullopt;
        } else {
            request.folder = argument;
            haveFolder = true;
        }
    }
    if (!haveFolder) return std::nullopt;
    return request;
}

}  // namespace brisko
