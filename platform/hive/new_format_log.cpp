#include "platform/hive/new_format_log.h"

#include <algorithm>
#include <cstring>

#include "platform/hive/base_block.h"
#include "platform/hive/marvin32.h"

namespace brisko::hive {
namespace {

constexpr std::size_t kEntryHeaderSize = 40;
constexpr std::size_t kPageReferenceSize = 8;
constexpr std::size_t kHash1At = 24;
constexpr std::size_t kHash2At = 32;
constexpr std::size_t kHashedHeaderSize = 32;  // Hash-2 covers the header up to itself

bool signatureAt(const LogBytes& log, std::size_t at) {
    return log.size >= 4 && at <= log.size - 4 && std::memcmp(log.data + at, "HvLE", 4) == 0;
}

}  // namespace

const char* describe(LogEntryCheck check) {
    switch (check) {
        case LogEntryCheck::kValid: return "valid";
        case LogEntryCheck::kNone: return "no entry";
        case LogEntryCheck::kBadSize: return "a wrong size";
        case LogEntryCheck::kTruncated: return "cut short";
        case LogEntryCheck::kBadBinsSize: return "a wrong hive bins data size";
        case LogEntryCheck::kBadPages: return "pages outside the hive or the entry";
        case LogEntryCheck::kBadHash: return "a wrong hash";
    }
    return "unknown";
}

LogEntryCheck readLogEntry(const LogBytes& log, std::size_t at, std::uint64_t maxBinsSize, LogEntry& entry) {
    if (!signatureAt(log, at)) return LogEntryCheck::kNone;
    if (log.size - at < kEntryHeaderSize) return LogEntryCheck::kTruncated;
    const std::uint8_t* header = log.data + at;
    const std::uint32_t size = readLittle32(header + 4);
    if (size < kLogSector || size % kLogSector != 0) return LogEntryCheck::kBadSize;
    if (size > log.size - at) return LogEntryCheck::kTruncated;
    entry.at = at;
    entry.size = size;
    entry.flags = readLittle32(header + 8);
    entry.sequence = readLittle32(header + 12);
    entry.binsSize = readLittle32(header + 16);
    const std::uint32_t count = readLittle32(header + 20);
    if (entry.binsSize < kBinAlignment || entry.binsSize % kBinAlignment != 0 || entry.binsSize > maxBinsSize) {
        return LogEntryCheck::kBadBinsSize;
    }
    if (marvin32(header, kHashedHeaderSize, kHiveLogSeed) != readLittle64(header + kHash2At) ||
        marvin32(header + kEntryHeaderSize, size - kEntryHeaderSize, kHiveLogSeed) != readLittle64(header + kHash1At)) {
        return LogEntryCheck::kBadHash;
    }
    if (count == 0 || count > (size - kEntryHeaderSize) / kPageReferenceSize) return LogEntryCheck::kBadPages;
    entry.pages.clear();
    entry.pages.reserve(count);
    std::size_t data = kEntryHeaderSize + std::size_t{count} * kPageReferenceSize;  // within the entry
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* reference = header + kEntryHeaderSize + i * kPageReferenceSize;
        const LogPage page{readLittle32(reference), readLittle32(reference + 4), at + data};
        if (page.size == 0 || std::uint64_t{page.offset} + page.size > entry.binsSize || page.size > size - data) {
            return LogEntryCheck::kBadPages;
        }
        data += page.size;
        entry.pages.push_back(page);
    }
    return LogEntryCheck::kValid;
}

std::uint32_t highestLogSequence(const LogBytes& log) {
    std::uint32_t highest = 0;
    if (log.size >= kLogBaseBlockSize && std::memcmp(log.data, "regf", 4) == 0) {
        highest = std::max(readLittle32(log.data + kPrimarySequenceAt), readLittle32(log.data + kSecondarySequenceAt));
    }
    for (std::size_t at = kLogSector; log.size >= 16 && at <= log.size - 16; at += kLogSector) {
        if (signatureAt(log, at)) highest = std::max(highest, readLittle32(log.data + at + 12));
    }
    return highest;
}

NewFormatReplay applyNewFormatLogs(std::vector<std::uint8_t>& image, const std::vector<LogBytes>& logs,
                                   std::uint32_t expected, std::uint64_t maxBinsSize) {
    NewFormatReplay replay;
    replay.next = expected;
    for (const LogBytes& log : logs) {
        for (std::size_t at = kLogSector; at < log.size;) {
            LogEntry entry;
            const LogEntryCheck check = readLogEntry(log, at, maxBinsSize, entry);
            if (check == LogEntryCheck::kNone) break;
            if (check != LogEntryCheck::kValid) {
                replay.stop = log.name + ": the entry at offset " + std::to_string(at) + ": " + describe(check);
                return replay;
            }
            const bool firstOfLog = entry.at == kLogSector;
            at += entry.size;
            if (sequenceBefore(entry.sequence, replay.next)) continue;  // in the hive already
            // A partial reconcile writes the older log's entries into the
            // hive without changing its base block, and the log is then
            // reused: the hive's data is as of a later entry than its
            // number says, and the earliest log left starts past it. Its
            // entries, then the next log's, bring the hive to its last
            // state.
            if (replay.applied == 0 && firstOfLog && log.size >= kLogBaseBlockSize &&
                entry.sequence == readLittle32(log.data + kPrimarySequenceAt)) {
                replay.next = entry.sequence;
            }
            if (entry.sequence != replay.next) {
                replay.stop = log.name + ": entry " + std::to_string(entry.sequence) + " where " +
                              std::to_string(replay.next) + " was due";
                return replay;
            }
            image.resize(kBaseBlockSize + entry.binsSize, 0);
            for (const LogPage& page : entry.pages) {
                std::copy_n(log.data + page.at, page.size,
                            image.begin() + static_cast<std::ptrdiff_t>(kBaseBlockSize + page.offset));
            }
            std::uint8_t* block = image.data();
            writeLittle32(block + kBinsSizeAt, entry.binsSize);
            writeLittle32(block + kPrimarySequenceAt, entry.sequence);
            writeLittle32(block + kSecondarySequenceAt, entry.sequence);
            // The flags' lowest bit (the transaction manager's lock) comes
            // from the entry.
            writeLittle32(block + kFlagsAt, (readLittle32(block + kFlagsAt) & ~1u) | (entry.flags & 1u));
            ++replay.applied;
            ++replay.next;
        }
    }
    return replay;
}

}  // namespace brisko::hive
