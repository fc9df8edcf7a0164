#pragma once
// A front end that writes the scan's events to a report file, one JSON
// object a line, and hands everything on to the front end people watch.
// The file ends with a summary object.
#include <cstdio>
#include <string>

#include "session/scan_front_end.h"
#include "session/scan_session.h"

namespace brisko {

class JsonReport : public ScanFrontEnd {
public:
    JsonReport(ScanFrontEnd& inner, std::FILE* file) : inner_(inner), file_(file) {}

    void appendLine(const char* line) override { inner_.appendLine(line); }
    void showItem(const char* item) override { inner_.showItem(item); }
    PendingEvent takeEvent() override { return inner_.takeEvent(); }
    int ask(const Question& question) override { return inner_.ask(question); }
    void noteEvent(const ScanEvent& event) override;

    // The counters and the exit status, last.
    void writeSummary(const ScanSession& session, int exitStatus);

private:
    void writeLine(const std::string& object);

    ScanFrontEnd& inner_;
    std::FILE* file_;
};

}  // namespace brisko
