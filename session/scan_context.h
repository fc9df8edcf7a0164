#pragma once
// What every step of a scan is handed: the scan's record and its front
// end, with the rules by which a step reports, shows where it is, pumps
// and asks.
#include "session/scan_front_end.h"
#include "session/scan_session.h"

namespace brisko {

class ScanContext {
public:
    ScanContext(ScanSession& session, ScanFrontEnd& frontEnd) : session(session), frontEnd_(frontEnd) {}
    ScanContext(const ScanContext&) = delete;
    ScanContext& operator=(const ScanContext&) = delete;

    // Formats a line into reportLine (bounded) and hands it to the front
    // end; with no report window it goes nowhere.
    void postReportLine(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Copies the text into currentItem (cut to fit) and shows it.
    void showItem(const char* text);
    // Takes one pending event: the stop key asks whether to stop, the end
    // of the program stops. Whether a stop is requested after it.
    bool stopRequestedAfterPump();
    int ask(const Question& question) { return frontEnd_.ask(question); }
    void noteEvent(const ScanEvent& event) { frontEnd_.noteEvent(event); }

    ScanSession& session;

private:
    ScanFrontEnd& frontEnd_;
};

}  // namespace brisko
