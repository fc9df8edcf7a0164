#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/stream_content.h"
#include "tools/brisko_scan/console_front_end.h"
#include "tools/brisko_scan/report_log.h"

namespace brisko {
namespace {

using testing::contentOf;

TEST(ReportLogTest, TheHeaderNamesMachineUserTimeAndVersion) {
    // 2026-12-10 10:40:05 UTC.
    const RunIdentity identity{"PC-0417", "Administrator", 1796899205};
    EXPECT_EQ(logHeaderOf(identity), "=== brisko-scan Brisko Ver 1.0 on PC-0417, user Administrator, "
                                     "2026-12-10 10:40:05 UTC ===");
}

TEST(ReportLogTest, LinesAndAnsweredQuestionsGoToTheLogAndOnToTheConsole) {
    std::FILE* lines = std::tmpfile();
    std::FILE* progress = std::tmpfile();
    std::FILE* log = std::tmpfile();
    {
        ConsoleFrontEnd console(lines, progress, false);
        console.answerRestartsWith(RestartChoice::kForce);
        ReportLog reportLog(console, log, {"PC", "me", 0});
        reportLog.appendLine("C:\\a.exe     W32/Krenot.Ek.PSW.Trojan removed");
        EXPECT_EQ(reportLog.ask(kRestartQuestion), kAnswerYes);
        reportLog.note("Scanning completed");
    }
    EXPECT_EQ(contentOf(log),
              "=== brisko-scan Brisko Ver 1.0 on PC, user me, 1970-01-01 00:00:00 UTC ===\n"
              "C:\\a.exe     W32/Krenot.Ek.PSW.Trojan removed\n"
              "The system has to be restarted to remove the virus completely from your system. \n\n"
              " Restart now? [answered Yes]\n"
              "Scanning completed\n");
    EXPECT_EQ(contentOf(lines), "C:\\a.exe     W32/Krenot.Ek.PSW.Trojan removed\n");
    EXPECT_NE(contentOf(progress).find("[answered Yes]"), std::string::npos);
    for (std::FILE* file : {lines, progress, log}) std::fclose(file);
}

}  // namespace
}  // namespace brisko
