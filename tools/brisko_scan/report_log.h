#pragma once
// A front end that appends the report lines to a log file, as an
// administrator keeps one for many runs on many machines, and hands
// everything on to the front end people watch. Each run's lines stand
// under a header that names the machine, the user, the time and the
// version.
#include <cstdio>
#include <ctime>
#include <string>

#include "session/scan_front_end.h"

namespace brisko {

struct RunIdentity {
    std::string machine;
    std::string user;
    std::time_t startedAt;
};

// "=== brisko-scan Brisko Ver 1.0 on MACHINE, user USER, 2026-12-10
// 10:40:00 UTC ===", on one line.
std::string logHeaderOf(const RunIdentity& identity);

class ReportLog : public ScanFrontEnd {
public:
    // Writes the header at once.
    ReportLog(ScanFrontEnd& inner, std::FILE* file, const RunIdentity& identity);

    void appendLine(const char* line) override;
    void showItem(const char* item) override { inner_.showItem(item); }
    PendingEvent takeEvent() override { return inner_.takeEvent(); }
    int ask(const Question& question) override;
    void noteEvent(const ScanEvent& event) override { inner_.noteEvent(event); }

    // A line of the run that is not a report line: an error, the end text.
    void note(const char* line) { write(line); }

private:
    void write(const char* line);

    ScanFrontEnd& inner_;
    std::FILE* file_;
};

}  // namespace brisko
