#pragma once
// The two version tests every platform-dependent step branches on. Both ask
// the system afresh at every call.

namespace brisko {

// Results of platformFamily.
constexpr int kFamilyUndetermined = 0;
constexpr int kFamilyOther = 1;
constexpr int kFamilyWindows9x = 4;
constexpr int kFamilyNt = 5;

// Results of ntGeneration: NT 4.0 and earlier, NT 5.x, anything else.
constexpr int kGenerationNone = 0;
constexpr int kGenerationNt4 = 5;
constexpr int kGenerationNt5 = 6;

int platformFamily();
int ntGeneration();

}  // namespace brisko
