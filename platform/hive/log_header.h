#pragma once
// What the first sector of a file beside a hive says it is: nothing (an
// empty or zeroed file, as Windows leaves the logs it does not use), a
// transaction log of the old format (a dirty vector of 512-byte pages) or
// of the new one (HvLE entries), or something unknown.
#include <cstddef>
#include <cstdint>
#include <string>

namespace brisko::hive {

// A log file's bytes as read, by the name the report gives it.
struct LogBytes {
    std::string name;
    const std::uint8_t* data;
    std::size_t size;
};

enum class LogFormat : std::uint8_t { kEmpty, kUnknown, kOld, kNew };

struct LogHeader {
    LogFormat format;
    std::string why;             // for kUnknown
    std::uint32_t sequence = 0;  // the base block's (its two are equal)
    std::uint64_t writtenAt = 0;
    std::uint32_t binsSize = 0;
};

LogHeader readLogHeader(const LogBytes& log);

}  // namespace brisko::hive
