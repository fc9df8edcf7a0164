#include "tools/brisko_scan/report_log.h"

#include "base/program_identity.h"
#include "tools/brisko_scan/question_policy.h"

namespace brisko {

std::string logHeaderOf(const RunIdentity& identity) {
    char time[32] = "unknown time";
    if (const std::tm* utc = std::gmtime(&identity.startedAt)) {
        std::strftime(time, sizeof time, "%Y-%m-%d %H:%M:%S UTC", utc);
    }
    return std::string("=== brisko-scan ") + programTitle + " on " + identity.machine + ", user " + identity.user +
           ", " + time + " ===";
}

ReportLog::ReportLog(ScanFrontEnd& inner, std::FILE* file, const RunIdentity& identity)
    : inner_(inner), file_(file) {
    write(logHeaderOf(identity).c_str());
}

void ReportLog::appendLine(const char* line) {
    inner_.appendLine(line);
    write(line);
}

int ReportLog::ask(const Question& question) {
    const int answer = inner_.ask(question);
    write((std::string(question.text) + " [answered " + answerNameOf(answer) + "]").c_str());
    return answer;
}

void ReportLog::write(const char* line) {
    std::fprintf(file_, "%s\n", line);
    std::fflush(file_);
}

}  // namespace brisko
