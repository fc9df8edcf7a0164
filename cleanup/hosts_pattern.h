#pragma once
// The built-in table of hosts file patterns. The pattern bytes are stored
// scrambled so that the program's own file does not carry them in clear.
#include <array>
#include <cstdint>

namespace brisko {

constexpr unsigned kHostsPatternCapacity = 100;

enum HostsSearchMode : std::int16_t { kSearchAnywhere = 1 };
enum HostsSizeKind : std::int16_t { kSizeEqual = 16, kSizeWithin4096 = 17 };
enum HostsPart : std::int16_t { kCompactedHead = 0, kCompactedTail = 1 };

struct HostsPattern {
    char threatName[25];
    std::int32_t expectedSize;
    std::int16_t patternOffset;   // where the fixed-position test looks
    std::uint16_t patternLength;  // bytes compared; 0 disables the record
    std::int16_t part;
    std::uint8_t pattern[kHostsPatternCapacity];
    std::int16_t searchMode;
    std::int16_t sizeKind;  // any other value: no size condition
};

constexpr unsigned kHostsPatternCount = 1;

using HostsPatternTable = std::array<HostsPattern, kHostsPatternCount>;

// The built-in table with its patterns as plain bytes, unscrambled afresh
// from the stored table at every call.
HostsPatternTable plainHostsPatterns();

}  // namespace brisko
