#include "platform/system_family.h"

#include "platform/platform.h"

namespace brisko {

SystemFamily platformFamily() {
    SystemVersion version{};
    if (!systemControl().queryVersion(version)) return kFamilyUndetermined;
    if (version.platformId == kPlatformWindows) return kFamilyWindows9x;
    if (version.platformId == kPlatformNt) return kFamilyNt;
    return kFamilyOther;
}

NtGeneration ntGeneration() {
    SystemVersion version{};
    if (!systemControl().queryVersion(version) || version.platformId != kPlatformNt) return kGenerationNone;
    if (version.majorVersion <= 4) return kGenerationNt4;
    if (version.majorVersion == 5) return kGenerationNt5;
    // Versions from 6 on are not told apart from an unknown system.
    return kGenerationNone;
}

}  // namespace brisko
