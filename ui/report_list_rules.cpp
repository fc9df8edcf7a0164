#include "ui/report_list_rules.h"

namespace brisko {

namespace {
constexpr int kWideLine = 560;
}

bool emptyBeforeAppend(int lineCount, bool statisticsStarted) {
    return lineCount >= kReportListLimit && !statisticsStarted;
}

int selectionAfterAppend(int lineCount) { return lineCount > 2 ? lineCount - 1 : lineCount; }

std::optional<int> widenedExtent(int currentExtent, int widestLine) {
    if (currentExtent < widestLine && widestLine > kWideLine) return 3 * widestLine / 4;
    return std::nullopt;
}

}  // namespace brisko
