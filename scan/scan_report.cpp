#include "scan/scan_report.h"

namespace brisko {

void postStatisticsBlock(ScanContext& scan) {
    const ScanSession& session = scan.session;
    scan.session.statisticsStarted = 1;
    if (session.filesInfected > 0) scan.postReportLine(" ");
    scan.postReportLine("Scanning statistics");
    scan.postReportLine("------------------------------");
    scan.postReportLine("Total files scanned\t\t:  %d", session.filesScanned);
    scan.postReportLine("Total files infected\t\t:  %d", session.filesInfected);
    scan.postReportLine("Total files removed\t\t:  %d", session.filesRemoved);
}

void showEndText(ScanContext& scan) {
    scan.showItem(scan.session.stopRequested ? "Scanning terminated" : "Scanning completed");
}

}  // namespace brisko
