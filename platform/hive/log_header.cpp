#include "platform/hive/log_header.h"

#include <algorithm>
#include <cstring>

#include "platform/hive/base_block.h"

namespace brisko::hive {

LogHeader readLogHeader(const LogBytes& log) {
    LogHeader header{LogFormat::kUnknown, {}};
    const std::size_t sector = std::min(log.size, kLogBaseBlockSize);
    if (std::all_of(log.data, log.data + sector, [](std::uint8_t byte) { return byte == 0; })) {
        header.format = LogFormat::kEmpty;
        return header;
    }
    if (log.size < kLogBaseBlockSize || std::memcmp(log.data, "regf", 4) != 0) {
        header.why = "not a transaction log";
        return header;
    }
    if (!checksumValid(log.data)) {
        header.why = "its base block fails its checksum";
        return header;
    }
    header.sequence = readLittle32(log.data + kPrimarySequenceAt);
    if (header.sequence != readLittle32(log.data + kSecondarySequenceAt)) {
        header.why = "its own writing was never finished";
        return header;
    }
    if (readLittle32(log.data + kMajorVersionAt) != 1 || readLittle32(log.data + kFileFormatAt) != 1) {
        header.why = "a log of an unknown version";
        return header;
    }
    header.writtenAt = readLittle64(log.data + kWrittenAtAt);
    header.binsSize = readLittle32(log.data + kBinsSizeAt);
    switch (readLittle32(log.data + kFileTypeAt)) {
        case kFileTypeOldLog:
        case kFileTypeVeryOldLog: header.format = LogFormat::kOld; return header;
        case kFileTypeNewLog: header.format = LogFormat::kNew; return header;
        default: header.why = "a log of an unknown format"; return header;
    }
}

}  // namespace brisko::hive
