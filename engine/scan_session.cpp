#include "engine/scan_session.h"

#include <cstdarg>
#include <cstdio>

#include "base/bounded_text.h"
#include "platform/platform.h"

namespace brisko {

ScanSession scanSession{};

void postReportLine(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(scanSession.reportLine, sizeof scanSession.reportLine, format, arguments);
    va_end(arguments);
    windows().sendMessage(scanSession.reportWindow, kAppendLineMessage);
}

void showItem(const char* text) {
    copyTruncated(scanSession.currentItem, text);
    windows().sendMessage(scanSession.reportWindow, kShowItemMessage);
}

void postStatisticsBlock() {
    scanSession.statisticsStarted = 1;
    if (scanSession.filesInfected > 0) postReportLine(" ");
    postReportLine("Scanning statistics");
    postReportLine("------------------------------");
    postReportLine("Total files scanned\t\t:  %d", scanSession.filesScanned);
    postReportLine("Total files infected\t\t:  %d", scanSession.filesInfected);
    postReportLine("Total files removed\t\t:  %d", scanSession.filesRemoved);
}

void showEndText() {
    showItem(scanSession.stopRequested ? "Scanning terminated" : "Scanning completed");
}

}  // namespace brisko
