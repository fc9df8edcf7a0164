#include "tools/brisko_scan/console_front_end.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace brisko {
namespace {

// A refresh more often than this is more than anyone can read.
constexpr std::chrono::milliseconds kProgressInterval{100};

}  // namespace

ConsoleFrontEnd::ConsoleFrontEnd(std::FILE* lines, std::FILE* progress, bool progressIsTerminal,
                                 std::function<Clock::time_point()> now)
    : lines_(lines), progress_(progress), showProgress_(progressIsTerminal), now_(std::move(now)) {}

void ConsoleFrontEnd::appendLine(const char* line) {
    clearProgress();
    std::fprintf(lines_, "%s\n", line);
    std::fflush(lines_);
}

void ConsoleFrontEnd::follow(const ScanSession& session) {
    followed_ = &session;
    followedSince_ = now_();
}

void ConsoleFrontEnd::showItem(const char* item) {
    if (!showProgress_) return;
    const Clock::time_point now = now_();
    if (progressShown_ && now - lastProgress_ < kProgressInterval) return;
    lastProgress_ = now;
    if (followed_ == nullptr) {
        std::fprintf(progress_, "\r\x1b[K%s", item);
    } else {
        const std::string_view shown = item;
        const std::string_view folder = shown.substr(0, std::min(shown.size(), shown.rfind('\\')));
        const double seconds = std::chrono::duration<double>(now - followedSince_).count();
        const double rate = seconds > 0 ? followed_->filesScanned / seconds : 0;
        std::fprintf(progress_, "\r\x1b[K%d files, %.0f files/s, %.*s", followed_->filesScanned, rate,
                     static_cast<int>(folder.size()), folder.data());
    }
    std::fflush(progress_);
    progressShown_ = true;
}

int ConsoleFrontEnd::ask(const Question& question) {
    const int answer = answerWithoutAsking(question, restart_);
    clearProgress();
    std::fprintf(progress_, "%s: %s [answered %s]\n", question.caption, question.text, answerNameOf(answer));
    return answer;
}

void ConsoleFrontEnd::clearProgress() {
    if (!progressShown_) return;
    std::fputs("\r\x1b[K", progress_);
    progressShown_ = false;
}

}  // namespace brisko
