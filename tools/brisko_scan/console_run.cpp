#include "tools/brisko_scan/console_run.h"

#include "base/program_identity.h"
#include "tools/brisko_scan/exit_status.h"

namespace brisko {

std::optional<int> answerHelpOrVersion(const std::vector<std::string>& arguments, ScanHost host) {
    if (arguments.size() != 1) return std::nullopt;
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        std::fputs(usageOf(host), stdout);
        return kExitClean;
    }
    if (arguments[0] == "--version") {
        std::printf("brisko-scan (%s)\n", programTitle);
        return kExitClean;
    }
    return std::nullopt;
}

std::optional<ScanRequest> readCommandLine(const std::vector<std::string>& arguments, ScanHost host) {
    std::string refusal;
    std::optional<ScanRequest> request = parseCommandLine(arguments, host, refusal);
    if (!request) {
        if (!refusal.empty()) std::fprintf(stderr, "brisko-scan: %s\n", refusal.c_str());
        std::fputs(usageOf(host), stderr);
    }
    return request;
}

ConsoleRun::ConsoleRun(const ScanRequest& request, bool progressIsTerminal)
    : request_(request), console_(stdout, stderr, progressIsTerminal) {
    console_.answerRestartsWith(request.restart);
}

bool ConsoleRun::openOutputs(const RunIdentity& identity) {
    if (!request_.logFile.empty()) {
        logFile_.reset(std::fopen(request_.logFile.c_str(), "a"));
        if (!logFile_) {
            std::fprintf(stderr, "brisko-scan: cannot write the log %s\n", request_.logFile.c_str());
            return false;
        }
        log_.emplace(console_, logFile_.get(), identity);
    }
    if (!request_.reportFile.empty()) {
        reportFile_.reset(std::fopen(request_.reportFile.c_str(), "w"));
        if (!reportFile_) {
            reportError(request_.reportFile.c_str(), "cannot write the report " + request_.reportFile);
            return false;
        }
        report_.emplace(log_ ? static_cast<ScanFrontEnd&>(*log_) : console_, reportFile_.get());
    }
    return true;
}

ScanFrontEnd& ConsoleRun::frontEnd() {
    if (report_) return *report_;
    if (log_) return *log_;
    return console_;
}

void ConsoleRun::reportError(const char* where, const std::string& text) {
    console_.clearProgress();
    std::fprintf(stderr, "brisko-scan: %s\n", text.c_str());
    if (log_) log_->note(text.c_str());
    frontEnd().noteEvent({ScanEventKind::kError, where, nullptr, text.c_str()});
}

int ConsoleRun::refuse(const char* where, const std::string& text) {
    reportError(where, text);
    noteExitStatus(kExitUsage);
    return kExitUsage;
}

void ConsoleRun::noteExitStatus(int status) {
    if (log_) log_->note(("exit status " + std::to_string(status)).c_str());
}

int ConsoleRun::finish(const ScanSession& session, int status) {
    // The end text is the last item shown.
    console_.clearProgress();
    std::printf("%s\n", session.currentItem);
    std::fflush(stdout);
    if (log_) log_->note(session.currentItem);
    noteExitStatus(status);
    if (report_) report_->writeSummary(session, status);
    return status;
}

}  // namespace brisko
