#pragma once
// Transaction logs of the new format (Windows 8.1 on): after the base
// block's sector, HvLE entries at 512-byte boundaries, each carrying the
// pages of the hive bins data that one write changed, guarded by two
// Marvin32 hashes. Everything in a log is taken as hostile: every offset,
// length and size is checked against the bytes there are before it is
// used, and the image never grows past the limit its caller sets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hive/log_header.h"

namespace brisko::hive {

enum class LogEntryCheck : std::uint8_t {
    kValid,
    kNone,         // no HvLE signature there: the log's entries end
    kBadSize,      // not a multiple of 512, or too small for its pages
    kTruncated,    // runs past the end of the file
    kBadBinsSize,  // not a multiple of 4096, or past the limit
    kBadPages,     // no pages, or a page outside the bins or the entry
    kBadHash,      // Hash-1 or Hash-2 wrong
};

// A short text for the report: "a wrong hash", ...
const char* describe(LogEntryCheck check);

struct LogPage {
    std::uint32_t offset;  // in the hive bins data
    std::uint32_t size;
    std::size_t at;  // where its bytes start in the log
};

struct LogEntry {
    std::uint32_t sequence = 0;
    std::uint32_t flags = 0;
    std::uint32_t binsSize = 0;
    std::size_t at = 0;  // in the log
    std::uint32_t size = 0;
    std::vector<LogPage> pages;
};

// Reads and checks the entry at offset at (a multiple of 512).
// maxBinsSize bounds the hive bins data size an entry may ask for.
LogEntryCheck readLogEntry(const LogBytes& log, std::size_t at, std::uint64_t maxBinsSize, LogEntry& entry);

// The highest sequence number any entry header in the log carries, valid or
// not, at any 512-byte boundary; and the log's base block's. Windows must
// never find one of them above a hive written back.
std::uint32_t highestLogSequence(const LogBytes& log);

struct NewFormatReplay {
    unsigned applied = 0;
    std::uint32_t next = 0;  // the sequence number after the last applied
    std::string stop;        // why replay ended, when not at a log's end
};

// Applies to image (a hive file's bytes, base block first, its bins data
// size field right) the entries that continue the sequence from expected:
// older entries are passed over, the first entry with expected is applied,
// then each next one; replay stops at a bogus entry or a gap, as Windows
// stops. Before any entry is applied, a log whose first entry carries its
// base block's number past expected starts the sequence there: a partial
// reconcile left the hive's data as of that log's start with its number
// unchanged (the format description's "missing log entries"). Logs are taken in the order given (older first). Applying
// an entry sets the image's hive bins data size, its two sequence numbers and the base block's flags from the entry;
// the base block is left unsealed.
NewFormatReplay applyNewFormatLogs(std::vector<std::uint8_t>& image, const std::vector<LogBytes>& logs,
                                   std::uint32_t expected, std::uint64_t maxBinsSize);

}  // namespace brisko::hive
