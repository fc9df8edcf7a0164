#include "cleanup/hosts_check.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/bounded_text.h"
#include "base/text_compare.h"
#include "cleanup/hosts_pattern.h"
#include "platform/platform.h"
#include "platform/read_only_file.h"
#include "platform/system_family.h"

namespace brisko {
namespace {

constexpr std::int32_t kWindowLength = 4096;
// The size that size kinds 16 and 17 compare expectedSize with.
constexpr std::int32_t kReferenceSize = 0;
constexpr unsigned kFolderOffered = 260;

// The compaction of some of the file's bytes: whitespace left out.
struct Compaction {
    std::uint8_t bytes[kWindowLength];
    std::int32_t count;
};

// What the patterns are looked for in: the compaction of the file's first
// and last 4096 bytes.
struct CompactedWindows {
    Compaction head;
    Compaction tail;
};

bool isWhitespace(std::uint8_t byte) {
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\v' || byte == '\f';
}

void compact(const std::uint8_t* bytes, std::int32_t count, Compaction& into) {
    into.count = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        if (!isWhitespace(bytes[i])) into.bytes[into.count++] = bytes[i];
    }
}

bool beginsWithBegin(ReadOnlyFile& file) {
    char head[6] = {};
    return file.readExactly(0, head, 5) && equalIgnoringCase(head, "begin");
}

// Reads and compacts the first and last 4096 bytes (the whole of a shorter
// file); the search length is how many raw bytes that covered.
bool readWindows(ReadOnlyFile& file, std::int32_t length, std::uint8_t (&testBuffer)[kWindowLength + 1],
                 std::int32_t& searchLength, CompactedWindows& windows) {
    std::memset(testBuffer, 0, sizeof testBuffer);
    if (length < kWindowLength) {
        searchLength = length;
        if (!file.readExactly(0, testBuffer, static_cast<unsigned>(length))) return false;
        compact(testBuffer, length, windows.head);
        windows.tail = windows.head;
        return true;
    }
    searchLength = kWindowLength;
    if (!file.readExactly(0, testBuffer, kWindowLength)) return false;
    compact(testBuffer, kWindowLength, windows.head);
    std::memset(testBuffer, 0, sizeof testBuffer);
    if (!file.readExactly(length - kWindowLength, testBuffer, kWindowLength)) return false;
    compact(testBuffer, kWindowLength, windows.tail);
    return true;
}

bool sizeConditionHolds(const HostsPattern& record) {
    switch (record.sizeKind) {
        case kSizeEqual: return record.expectedSize == kReferenceSize;
        case kSizeWithin4096: {
            const std::int64_t distance = static_cast<std::int64_t>(record.expectedSize) - kReferenceSize;
            return distance >= -kWindowLength && distance <= kWindowLength;
        }
        default: return true;
    }
}

// Finds the pattern anywhere in the first searchLength bytes of the buffer;
// a pattern that would run past the buffer's end is not there.
bool foundAnywhere(const std::uint8_t* buffer, std::size_t bufferLength, std::int32_t searchLength,
                   const HostsPattern& record) {
    const std::uint8_t* end = buffer + searchLength;
    for (const std::uint8_t* at = buffer; at < end; ++at) {
        at = static_cast<const std::uint8_t*>(std::memchr(at, record.pattern[0], static_cast<std::size_t>(end - at)));
        if (at == nullptr) return false;
        const std::size_t position = static_cast<std::size_t>(at - buffer);
        if (position + record.patternLength <= bufferLength &&
            std::memcmp(at, record.pattern, record.patternLength) == 0) {
            return true;
        }
    }
    return false;
}

// Copies 100 bytes of a compaction from start on; bytes outside it are zero.
void copyWindow(const Compaction& from, std::int32_t start, std::uint8_t* into) {
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(kHostsPatternCapacity); ++i) {
        const std::int32_t at = start + i;
        into[i] = (at >= 0 && at < from.count) ? from.bytes[at] : 0;
    }
}

bool recordMatches(const HostsPattern& record, std::int32_t length, std::int32_t searchLength,
                   const CompactedWindows& windows, std::uint8_t (&testBuffer)[kWindowLength + 1]) {
    // A record longer than its own pattern buffer cannot be compared.
    if (record.patternLength == 0 || record.patternLength > kHostsPatternCapacity ||
        length < record.patternLength || !sizeConditionHolds(record)) {
        return false;
    }
    const Compaction& part = record.part == kCompactedTail ? windows.tail : windows.head;
    std::memset(testBuffer, 0, sizeof testBuffer);
    if (record.searchMode == kSearchAnywhere) {
        std::memcpy(testBuffer, part.bytes, static_cast<std::size_t>(part.count));
        return foundAnywhere(testBuffer, sizeof testBuffer, searchLength, record);
    }
    if (record.part == kCompactedTail) {
        if (part.count >= record.patternOffset) copyWindow(part, part.count - record.patternOffset, testBuffer);
    } else {
        copyWindow(part, record.patternOffset, testBuffer);
    }
    return std::memcmp(testBuffer, record.pattern, record.patternLength) == 0;
}

const HostsPattern* findHostsPattern(ReadOnlyFile& file, const HostsPatternTable& table) {
    const std::int32_t length = file.length();
    if (length < 0 || !beginsWithBegin(file)) return nullptr;
    std::uint8_t testBuffer[kWindowLength + 1];
    std::int32_t searchLength = 0;
    CompactedWindows windows;
    if (!readWindows(file, length, testBuffer, searchLength, windows)) return nullptr;
    for (const HostsPattern& record : table) {
        if (recordMatches(record, length, searchLength, windows, testBuffer)) return &record;
    }
    return nullptr;
}

}  // namespace

bool findHostsInfection(const char* path, HostsThreatName& threatName, const HostsPatternTable& table) {
    ReadOnlyFile file(files(), path);
    if (!file.isOpen()) return false;
    const HostsPattern* match = findHostsPattern(file, table);
    if (match == nullptr) return false;
    copyTruncated(threatName, std::string_view(match->threatName, sizeof match->threatName));
    return true;
}

bool hostsPathOfThisSystem(char (&path)[kPathCapacity]) {
    unsigned length = 0;
    const char* name = nullptr;
    switch (platformFamily()) {
        case kFamilyNt:
            length = systemServices().systemDirectory(path, kFolderOffered);
            name = "\\drivers\\etc\\hosts";
            break;
        case kFamilyWindows9x:
            length = systemServices().windowsDirectory(path, kFolderOffered);
            name = "\\hosts";
            break;
        default:
            return false;
    }
    return length > 0 && length < kFolderOffered && joinIfFits(path, sizeof path, path, length, name);
}

}  // namespace brisko
