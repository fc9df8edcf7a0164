#pragma once
// The two version tests every platform-dependent step branches on. Both ask
// the system afresh at every call.

namespace brisko {

enum SystemFamily : int {
    kFamilyUndetermined = 0,
    kFamilyOther = 1,
    kFamilyWindows9x = 4,
    kFamilyNt = 5,
};

// NT 4.0 and earlier, NT 5.x, anything else.
enum NtGeneration : int {
    kGenerationNone = 0,
    kGenerationNt4 = 5,
    kGenerationNt5 = 6,
};

SystemFamily platformFamily();
NtGeneration ntGeneration();

}  // namespace brisko
