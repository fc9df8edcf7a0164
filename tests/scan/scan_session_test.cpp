#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "scan/scan_report.h"
#include "session/scan_session.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using testing::ScanTest;

class ScanSessionTest : public ScanTest {};

TEST_F(ScanSessionTest, StartsWithEveryFieldZeroOrEmpty) {
    const ScanSession fresh{};
    const auto* bytes = reinterpret_cast<const unsigned char*>(&fresh);
    for (std::size_t i = 0; i < sizeof fresh; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST_F(ScanSessionTest, FieldsHaveTheirFixedWidths) {
    EXPECT_EQ(sizeof scanSession.reportLine, 500u);
    EXPECT_EQ(sizeof scanSession.currentItem, 260u);
    EXPECT_EQ(sizeof scanSession.currentThreat, 260u);
    EXPECT_EQ(sizeof scanSession.scanTarget, 260u);
    EXPECT_EQ(sizeof scanSession.programFilesPath, 260u);
    EXPECT_EQ(sizeof scanSession.infectedPath, 261u);
    EXPECT_EQ(sizeof scanSession.autostartValueName, 128u);
}

TEST_F(ScanSessionTest, PostedLineReachesTheReportWindowFormatted) {
    context.postReportLine("%s     %s removed", "C:\\a.exe", "W32/Krenot.Ek.PSW.Trojan");
    context.postReportLine("Total files scanned\t\t:  %d", 42);
    EXPECT_THAT(reportLines(), ElementsAre("C:\\a.exe     W32/Krenot.Ek.PSW.Trojan removed",
                                           "Total files scanned\t\t:  42"));
}

TEST_F(ScanSessionTest, NothingIsSentWithoutAReportWindow) {
    scanSession.reportWindow = 0;
    context.postReportLine("lost");
    context.showItem("lost too");
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(ScanSessionTest, ALineLongerThanItsBufferIsCutAndTerminated) {
    const std::string longText(700, 'x');
    context.postReportLine("%s", longText.c_str());
    EXPECT_EQ(reportLines().at(0), std::string(499, 'x'));
}

TEST_F(ScanSessionTest, ShownItemIsCutToTheCurrentItemBuffer) {
    context.showItem(std::string(300, 'p').c_str());
    EXPECT_EQ(shownItems().at(0), std::string(259, 'p'));
}

TEST_F(ScanSessionTest, StatisticsAfterACleanScanHaveNoBlankLine) {
    scanSession.filesScanned = 7;
    postStatisticsBlock(context);
    EXPECT_EQ(scanSession.statisticsStarted, 1);
    EXPECT_THAT(reportLines(), ElementsAre("Scanning statistics", "------------------------------",
                                           "Total files scanned\t\t:  7", "Total files infected\t\t:  0",
                                           "Total files removed\t\t:  0"));
}

TEST_F(ScanSessionTest, StatisticsAfterADetectionBeginWithOneBlank) {
    scanSession.filesScanned = 9;
    scanSession.filesInfected = 2;
    scanSession.filesRemoved = 1;
    scanSession.filesRenamed = 1;
    postStatisticsBlock(context);
    EXPECT_THAT(reportLines(), ElementsAre(" ", "Scanning statistics", "------------------------------",
                                           "Total files scanned\t\t:  9", "Total files infected\t\t:  2",
                                           "Total files removed\t\t:  1"));
}

TEST_F(ScanSessionTest, EndTextTellsWhetherTheScanWasStopped) {
    showEndText(context);
    scanSession.stopRequested = 1;
    showEndText(context);
    EXPECT_THAT(shownItems(), ElementsAre("Scanning completed", "Scanning terminated"));
    EXPECT_TRUE(reportLines().empty());
}

}  // namespace
}  // namespace brisko
