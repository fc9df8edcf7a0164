#include "cleanup/hosts_check.h"

#include <cstdint>
#include <cstring>

#include "cleanup/hosts_pattern.h"
#include "base/bounded_text.h"
#include "engine/disposition.h"
#include "engine/scan_session.h"
#include "base/text_compare.h"
#include "platform/platform.h"
#include "platform/read_only_file.h"

namespace brisko {
namespace {

constexpr std::int32_t kWindowLength = 4096;
// The size that size kinds 16 and 17 compare expectedSize with.
constexpr std::int32_t kReferenceSize = 0;

// The compaction of the file's first and last 4096 bytes: what the
// patterns are looked for in. Process-wide, as every check overwrites them.
struct Compaction {
    std::uint8_t bytes[kWindowLength];
    std::int32_t count;
};
Compaction compactedHead;
Compaction compactedTail;

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
                 std::int32_t& searchLength) {
    std::memset(testBuffer, 0, sizeof testBuffer);
    if (length < kWindowLength) {
        searchLength = length;
        if (!file.readExactly(0, testBuffer, static_cast<unsigned>(length))) return false;
        compact(testBuffer, length, compactedHead);
        compactedTail = compactedHead;
        return true;
    }
    searchLength = kWindowLength;
    if (!file.readExactly(0, testBuffer, kWindowLength)) return false;
    compact(testBuffer, kWindowLength, compactedHead);
    std::memset(testBuffer, 0, sizeof testBuffer);
    if (!file.readExactly(length - kWindowLength, testBuffer, kWindowLength)) return false;
    compact(testBuffer, kWindowLength, compactedTail);
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
                   std::uint8_t (&testBuffer)[kWindowLength + 1]) {
    // A record longer than its own pattern buffer cannot be compared.
    if (record.patternLength == 0 || record.patternLength > kHostsPatternCapacity ||
        length < record.patternLength || !sizeConditionHolds(record)) {
        return false;
    }
    const Compaction& part = record.part == kCompactedTail ? compactedTail : compactedHead;
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

const HostsPattern* findHostsPattern(ReadOnlyFile& file) {
    const std::int32_t length = file.length();
    if (length < 0 || !beginsWithBegin(file)) return nullptr;
    std::uint8_t testBuffer[kWindowLength + 1];
    std::int32_t searchLength = 0;
    if (!readWindows(file, length, testBuffer, searchLength)) return nullptr;
    for (const HostsPattern& record : hostsPatternTable) {
        if (recordMatches(record, length, searchLength, testBuffer)) {
            ++scanSession.filesInfected;
            return &record;
        }
    }
    return nullptr;
}

void treatHostsFile(const char* path, const char* threatName) {
    switch (scanSession.userAction) {
        case kActionRemove:
        case kActionRemoveToo:
            // Neither attributes nor running programs stand in the way of a
            // hosts file; a failure is only reported.
            if (files().removeFile(path)) {
                reportRemoved(path, threatName);
            } else {
                postReportLine("%s     %s Remove failed", path, threatName);
            }
            break;
        case kActionRename:
            renameInfectedFile(path, threatName);
            break;
        case kActionLeave:
            postReportLine("%s     %s Not Disinfected As Per User's Selection", scanSession.currentItem,
                           scanSession.currentThreat);
            break;
        default:
            break;
    }
}

}  // namespace

int checkHostsFile(const char* path) {
    unscrambleHostsPatterns();
    ReadOnlyFile file(files(), path);
    if (!file.isOpen()) return 0;
    const HostsPattern* match = findHostsPattern(file);
    file.close();
    if (match == nullptr) return 0;
    char threatName[sizeof match->threatName + 1] = {};
    std::memcpy(threatName, match->threatName, sizeof match->threatName);
    copyTruncated(scanSession.currentThreat, threatName);
    copyTruncated(scanSession.currentItem, path);
    treatHostsFile(path, threatName);
    return 1;
}

}  // namespace brisko
