#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "session/scan_questions.h"
#include "tests/support/stream_content.h"
#include "tools/brisko_scan/console_front_end.h"

namespace brisko {
namespace {

using namespace std::chrono_literals;

using testing::contentOf;

class ConsoleFrontEndTest : public ::testing::Test {
protected:
    ~ConsoleFrontEndTest() override {
        std::fclose(lines_);
        std::fclose(progress_);
    }

    ConsoleFrontEnd console(bool terminal) {
        return ConsoleFrontEnd(lines_, progress_, terminal, [this] { return now_; });
    }

    std::FILE* lines_ = std::tmpfile();
    std::FILE* progress_ = std::tmpfile();
    ConsoleFrontEnd::Clock::time_point now_{1h};
};

TEST_F(ConsoleFrontEndTest, LinesGoOutWholeAndTheProgressLineIsClearedBeforeEach) {
    ConsoleFrontEnd front = console(true);
    front.showItem("C:\\a.exe");
    front.appendLine("C:\\a.exe     W32/Krenot.Ek.PSW.Trojan removed");
    front.appendLine("Total files scanned\t\t:  1");
    EXPECT_EQ(contentOf(lines_), "C:\\a.exe     W32/Krenot.Ek.PSW.Trojan removed\nTotal files scanned\t\t:  1\n");
    // One clearing for the one item shown, none for the second line.
    EXPECT_EQ(contentOf(progress_), "\r\x1b[KC:\\a.exe\r\x1b[K");
}

TEST_F(ConsoleFrontEndTest, ProgressIsShownOnlyOnATerminal) {
    ConsoleFrontEnd front = console(false);
    front.showItem("C:\\a.exe");
    front.appendLine("line");
    EXPECT_EQ(contentOf(progress_), "");
    EXPECT_EQ(contentOf(lines_), "line\n");
}

TEST_F(ConsoleFrontEndTest, ItemsComingFasterThanTenASecondAreSkipped) {
    ConsoleFrontEnd front = console(true);
    front.showItem("first");
    now_ += 99ms;
    front.showItem("skipped");
    now_ += 1ms;
    front.showItem("second");
    EXPECT_EQ(contentOf(progress_), "\r\x1b[Kfirst\r\x1b[Ksecond");
}

TEST_F(ConsoleFrontEndTest, AFollowedScanShowsItsFilesTheirRateAndTheFolder) {
    ConsoleFrontEnd front = console(true);
    ScanSession session{};
    front.follow(session);
    now_ += 2s;
    session.filesScanned = 500;
    front.showItem("C:\\Windows\\System32\\notepad.exe");
    now_ += 2s;
    session.filesScanned = 1200;
    front.showItem("C:\\Users\\alice\\.");
    EXPECT_EQ(contentOf(progress_), "\r\x1b[K500 files, 250 files/s, C:\\Windows\\System32"
                                    "\r\x1b[K1200 files, 300 files/s, C:\\Users\\alice");
}

TEST_F(ConsoleFrontEndTest, EveryQuestionIsRefusedAndSaidSo) {
    ConsoleFrontEnd front = console(true);
    front.showItem("C:\\a.exe");
    EXPECT_EQ(front.ask(kRestartQuestion), kAnswerNo);
    EXPECT_EQ(front.ask(kMemoryRestartQuestion), kAnswerCancel);
    EXPECT_EQ(front.ask(kStopScanQuestion), kAnswerNo);
    const std::string shown = contentOf(progress_);
    EXPECT_EQ(shown.find("\r\x1b[KC:\\a.exe\r\x1b[KBrisko Ver 1.0: The system has to be restarted"), 0u) << shown;
    EXPECT_NE(shown.find("Restart now? [answered No]\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Restart the computer now? [answered Cancel]\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Terminate the Scan now? [answered No]\n"), std::string::npos) << shown;
}

TEST_F(ConsoleFrontEndTest, ForcedRestartsAreAnsweredYesOrOkAndSaidSo) {
    ConsoleFrontEnd front = console(false);
    front.answerRestartsWith(RestartChoice::kForce);
    EXPECT_EQ(front.ask(kRestartQuestion), kAnswerYes);
    EXPECT_EQ(front.ask(kMemoryRestartQuestion), kAnswerOk);
    EXPECT_EQ(front.ask(kStopScanQuestion), kAnswerNo);
    const std::string shown = contentOf(progress_);
    EXPECT_NE(shown.find("Restart now? [answered Yes]\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Restart the computer now? [answered OK]\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Terminate the Scan now? [answered No]\n"), std::string::npos) << shown;
    EXPECT_EQ(contentOf(lines_), "");
}

}  // namespace
}  // namespace brisko
