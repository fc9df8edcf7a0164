#include "matcher/threat_signature.h"

namespace brisko {

bool sizeTestPasses(const ThreatSignature& signature, std::int32_t fileLength) {
    // The difference wraps like the 32-bit arithmetic it stands for.
    const std::int32_t difference = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(signature.expectedSize) - static_cast<std::uint32_t>(fileLength));
    switch (signature.sizeMode) {
        case kSizeExact: return difference == 0;
        case kSizeNear: return difference > -sizeTolerance && difference < sizeTolerance;
        case kSizeAny: return true;
        default: return false;
    }
}

}  // namespace brisko
