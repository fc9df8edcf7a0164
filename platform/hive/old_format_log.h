#pragma once
// Transaction logs of the old format (Windows XP to 8): after the base
// block's sector, "DIRT" and a bitmap with one bit for each 512-byte page
// of the hive bins data, then, from the next sector on, each dirty page in
// the bitmap's order. Everything in a log is taken as hostile: sizes are
// checked against the bytes there are before anything is read or grown.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hive/log_header.h"

namespace brisko::hive {

enum class OldLogCheck : std::uint8_t {
    kApplied,
    kStale,        // written for another state of the hive: not applicable
    kBadBinsSize,  // not a multiple of 4096, or more than its pages can grow
    kNoVector,     // no DIRT signature, or its bitmap is cut short
    kTruncated,    // fewer pages than the bitmap has bits set
    kBadBin,       // a page starting a bin does not hold that bin's header
};

const char* describe(OldLogCheck check);

// Applies the log to image (a hive file's bytes, base block first) when its
// base block's last-written timestamp is hiveWrittenAt; the image takes
// the log's hive bins data size. On any answer but kApplied the image is
// as it was. The base block is left unsealed.
OldLogCheck applyOldFormatLog(std::vector<std::uint8_t>& image, const LogBytes& log, const LogHeader& header,
                              std::uint64_t hiveWrittenAt);

}  // namespace brisko::hive
