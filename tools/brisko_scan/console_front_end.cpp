#include "tools/brisko_scan/console_front_end.h"

#include <utility>

namespace brisko {
namespace {

// A refresh more often than this is more than anyone can read.
constexpr std::chrono::milliseconds kProgressInterval{100};

const char* answerName(int answer) {
    switch (answer) {
        case kAnswerOk: return "OK";
        case kAnswerCancel: return "Cancel";
        case kAnswerYes: return "Yes";
        default: return "No";
    }
}

}  // namespace

ConsoleFrontEnd::ConsoleFrontEnd(std::FILE* lines, std::FILE* progress, bool progressIsTerminal,
                                 std::function<Clock::time_point()> now)
    : lines_(lines), progress_(progress), showProgress_(progressIsTerminal), now_(std::move(now)) {}

void ConsoleFrontEnd::appendLine(const char* line) {
    clearProgress();
    std::fprintf(lines_, "%s\n", line);
    std::fflush(lines_);
}

void ConsoleFrontEnd::showItem(const char* item) {
    if (!showProgress_) return;
    const Clock::time_point now = now_();
    if (progressShown_ && now - lastProgress_ < kProgressInterval) return;
    lastProgress_ = now;
    std::fprintf(progress_, "\r\x1b[K%s", item);
    std::fflush(progress_);
    progressShown_ = true;
}

int ConsoleFrontEnd::ask(const Question& question) {
    const int answer = refusalOf(question);
    clearProgress();
    std::fprintf(progress_, "%s: %s [answered %s]\n", question.caption, question.text, answerName(answer));
    return answer;
}

void ConsoleFrontEnd::clearProgress() {
    if (!progressShown_) return;
    std::fputs("\r\x1b[K", progress_);
    progressShown_ = false;
}

}  // namespace brisko
