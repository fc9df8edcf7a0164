#pragma once
// What Windows would make of a hive file and the transaction logs beside
// it, decided before anything reads the hive: a clean hive is read as it
// stands and its logs are ignored; a dirty one (a base block that fails
// its checksum, or sequence numbers that differ) has the changes waiting
// in its logs replayed onto a copy in memory, as the public "Windows
// registry file format specification" describes: new-format logs (.LOG1,
// .LOG2) entry by entry in sequence order, or the old-format log written
// for the hive's last state. A dirty hive whose logs cannot be replayed
// safely (an unknown format, a log written for another hive, no valid base
// block anywhere, no log at all) is not replayed and must never be written.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hive/log_header.h"

namespace brisko::hive {

enum class HiveLogState : std::uint8_t { kClean, kReplayed, kNotReplayable };

struct HiveReplay {
    HiveLogState state = HiveLogState::kClean;
    // kReplayed: the hive as Windows would load it; its base block sealed,
    // its two sequence numbers equal.
    std::vector<std::uint8_t> image;
    // The highest sequence number in any log's base block or entry header.
    std::uint32_t highestLogSequence = 0;
    // kReplayed: what was replayed; kNotReplayable: why not.
    std::string text;
    // kNotReplayable: whether the hive's own base block is valid, so that it
    // can be read as it stands.
    bool readableAsItStands = false;
};

// hive: the whole hive file (4096 bytes at least); logs: the non-missing
// files among NAME.LOG, NAME.LOG1, NAME.LOG2, in that order.
HiveReplay replayHive(const std::vector<std::uint8_t>& hive, const std::vector<LogBytes>& logs);

}  // namespace brisko::hive
