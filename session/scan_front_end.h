#pragma once
// What a scan needs from whoever shows it: the dialog of brisko.exe, a
// console, or a test. The scan posts report lines and the item it is at,
// takes one pending event at every pump point, and asks its questions.
#include "session/scan_event.h"
#include "session/scan_questions.h"

namespace brisko {

// The events a pump point acts on; anything else the front end handles
// itself.
enum class PendingEvent {
    kNone,
    // The user pressed the stop key (Escape).
    kStopKey,
    // The program or its window is ending.
    kQuit,
};

class ScanFrontEnd {
public:
    virtual ~ScanFrontEnd() = default;

    // A formatted line of the report. The text stays in the record's
    // reportLine until the next line.
    virtual void appendLine(const char* line) = 0;
    // The item the scan is at, kept in the record's currentItem.
    virtual void showItem(const char* item) = 0;
    // Takes one pending event, if any.
    virtual PendingEvent takeEvent() = 0;
    // Asks and returns the answer, one of the kAnswer values.
    virtual int ask(const Question& question) = 0;
    // Takes note of an event beside its report line; only a front end that
    // keeps a record of its own needs to.
    virtual void noteEvent(const ScanEvent&) {}
};

}  // namespace brisko
