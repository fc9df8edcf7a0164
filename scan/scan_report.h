#pragma once
// The end of every scan's report: the statistics block, then the end text
// in the status.
#include "session/scan_context.h"

namespace brisko {

void postStatisticsBlock(ScanContext& scan);
void showEndText(ScanContext& scan);

}  // namespace brisko
