#include "session/scan_context.h"

#include <cstdarg>
#include <cstdio>

#include "base/bounded_text.h"

namespace brisko {

void ScanContext::postReportLine(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(session.reportLine, sizeof session.reportLine, format, arguments);
    va_end(arguments);
    if (session.reportWindow != 0) frontEnd_.appendLine(session.reportLine);
}

void ScanContext::showItem(const char* text) {
    copyTruncated(session.currentItem, text);
    if (session.reportWindow != 0) frontEnd_.showItem(session.currentItem);
}

bool ScanContext::stopRequestedAfterPump() {
    switch (frontEnd_.takeEvent()) {
        case PendingEvent::kNone:
            break;
        case PendingEvent::kStopKey:
            if (ask(kStopScanQuestion) != kAnswerNo) session.stopRequested = 1;
            break;
        case PendingEvent::kQuit:
            session.stopRequested = 1;
            break;
    }
    return session.stopRequested != 0;
}

}  // namespace brisko
