#pragma once
// The front end of a scan run from a console: report lines to standard
// output, progress on one refreshed line of a terminal's standard error (at
// most ten times a second), and every question refused and shown on
// standard error.
#include <chrono>
#include <cstdio>
#include <functional>

#include "session/scan_front_end.h"
#include "session/scan_session.h"
#include "tools/brisko_scan/question_policy.h"

namespace brisko {

class ConsoleFrontEnd : public ScanFrontEnd {
public:
    using Clock = std::chrono::steady_clock;

    // Progress is shown only where its stream is a terminal. Questions are
    // refused until answerRestartsWith says otherwise: nothing is stopped
    // or restarted that the command line did not ask for.
    ConsoleFrontEnd(std::FILE* lines, std::FILE* progress, bool progressIsTerminal,
                    std::function<Clock::time_point()> now = Clock::now);

    void appendLine(const char* line) override;
    void showItem(const char* item) override;
    PendingEvent takeEvent() override { return PendingEvent::kNone; }
    int ask(const Question& question) override;

    // How the restart questions are answered from here on.
    void answerRestartsWith(RestartChoice restart) { restart_ = restart; }

    // From here on the progress line tells the files scanned so far and
    // their rate, and the folder being walked, instead of the item alone.
    void follow(const ScanSession& session);

    // Clears the progress line, so that what follows starts a clean line.
    void clearProgress();

private:
    std::FILE* lines_;
    std::FILE* progress_;
    bool showProgress_;
    std::function<Clock::time_point()> now_;
    RestartChoice restart_ = RestartChoice::kNever;
    const ScanSession* followed_ = nullptr;
    Clock::time_point followedSince_{};
    bool progressShown_ = false;
    Clock::time_point lastProgress_{};
};

}  // namespace brisko
