#pragma once
// What both brisko-scan programs do around their scan: --help and
// --version, the command line, the log and report files and the front ends
// that feed them, errors, and the last lines of a run.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/brisko_scan/command_line.h"
#include "tools/brisko_scan/console_front_end.h"
#include "tools/brisko_scan/json_report.h"
#include "tools/brisko_scan/report_log.h"

namespace brisko {

// The exit status after answering --help or --version; nothing for any
// other command line.
std::optional<int> answerHelpOrVersion(const std::vector<std::string>& arguments, ScanHost host);

// The request, or nothing after the reason and the usage on standard error.
std::optional<ScanRequest> readCommandLine(const std::vector<std::string>& arguments, ScanHost host);

class ConsoleRun {
public:
    // Report lines to stdout, progress and errors to stderr.
    ConsoleRun(const ScanRequest& request, bool progressIsTerminal);
    ConsoleRun(const ConsoleRun&) = delete;
    ConsoleRun& operator=(const ConsoleRun&) = delete;

    // Opens the log and the report before anything is scanned, so that a
    // file that cannot be written stops the run at once; false, said on
    // standard error, when one cannot.
    bool openOutputs(const RunIdentity& identity);

    ConsoleFrontEnd& console() { return console_; }
    // What the scan reports to: the report, the log and the console.
    ScanFrontEnd& frontEnd();

    // On standard error, in the log, and as an error event about where.
    void reportError(const char* where, const std::string& text);
    // An error that ends the run before its scan, reported as above; the
    // usage exit status.
    int refuse(const char* where, const std::string& text);
    // The end text on stdout and in the log, the report's summary last;
    // returns status.
    int finish(const ScanSession& session, int status);

private:
    using OwnedFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

    void noteExitStatus(int status);

    const ScanRequest& request_;
    ConsoleFrontEnd console_;
    OwnedFile logFile_{nullptr, &std::fclose};
    OwnedFile reportFile_{nullptr, &std::fclose};
    std::optional<ReportLog> log_;
    std::optional<JsonReport> report_;
};

}  // namespace brisko
