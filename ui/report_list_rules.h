#pragma once
// How the report list takes a new line: it stays bounded while a scan runs,
// shows the newest line once there are a few, and widens its scroll range
// only for lines that are really wide.
#include <optional>

namespace brisko {

// The list empties itself before a new line at this many lines, until the
// statistics block has begun.
constexpr int kReportListLimit = 150;

bool emptyBeforeAppend(int lineCount, bool statisticsStarted);

// The index to select once the list holds lineCount lines. With one or two
// lines it is one past the last, so that no line is selected.
int selectionAfterAppend(int lineCount);

// The new horizontal extent, or nothing when it stays as it is. The extent
// grows only for a line wider than 560 pixels, and is then three quarters
// of the widest line, even when that is less than it was.
std::optional<int> widenedExtent(int currentExtent, int widestLine);

}  // namespace brisko
