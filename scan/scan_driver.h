#pragma once
// One whole scan: running processes first, then the drives or the one
// directory of scanTarget, then the statistics and the restart offer.

namespace brisko {

class Scan;

// Runs to the end of the scan and returns 1. stopRequested must be clear.
int runScanDriver(Scan& scan);

}  // namespace brisko
