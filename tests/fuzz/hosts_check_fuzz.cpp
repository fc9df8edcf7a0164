// The hosts file check, on any bytes as the file, against a plain reference
// written from what the check means: a file that begins with "begin" (any
// case) and whose first (or last) 4096 bytes, whitespace dropped, hold the
// pattern is infected.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "cleanup/hosts_check.h"
#include "cleanup/hosts_pattern.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_platform.h"

namespace {

using brisko::HostsPattern;

constexpr std::size_t kWindow = 4096;

std::string compacted(const std::uint8_t* bytes, std::size_t count) {
    static const std::string kWhitespace = " \t\n\r\v\f";
    std::string kept;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (kWhitespace.find(c) == std::string::npos) kept.push_back(c);
    }
    return kept;
}

bool beginsWithBegin(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return false;
    std::string head(reinterpret_cast<const char*>(data), 5);
    std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::tolower(c); });
    return head == "begin";
}

bool referenceInfected(const std::uint8_t* data, std::size_t size, const HostsPattern& record) {
    if (!beginsWithBegin(data, size)) return false;
    const std::size_t window = std::min(size, kWindow);
    const std::uint8_t* start = record.part == brisko::kCompactedTail ? data + size - window : data;
    const std::string pattern(reinterpret_cast<const char*>(record.pattern), record.patternLength);
    return compacted(start, window).find(pattern) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brisko;
    static fuzz::MemoryPlatform platform;
    static const HostsPattern record = plainHostsPatterns()[0];
    // The reference speaks of a whole pattern searched anywhere, with no
    // size condition: a table of another kind needs a reference of its own.
    FUZZ_CHECK(kHostsPatternCount == 1 && record.searchMode == kSearchAnywhere && record.sizeKind != kSizeEqual &&
               record.sizeKind != kSizeWithin4096 && record.patternLength > 0 &&
               record.patternLength <= kHostsPatternCapacity &&
               std::memchr(record.pattern, 0, record.patternLength) == nullptr);

    platform.file().hold(data, size);
    HostsThreatName threatName = {};
    const bool infected = findHostsInfection("C:\\WINDOWS\\hosts", threatName);

    FUZZ_CHECK(platform.file().openCount() == 0);
    FUZZ_CHECK(infected == referenceInfected(data, size, record));
    if (infected) FUZZ_CHECK(std::strncmp(threatName, record.threatName, sizeof record.threatName) == 0);
    return 0;
}
