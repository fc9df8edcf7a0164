#pragma once
// The base block that opens every hive file and, cut to its first 512
// bytes, every transaction log, as the public "Windows registry file format
// specification" describes it: its fields, its XOR-32 checksum, and the
// fields that tell which hive a log was written for.
#include <cstddef>
#include <cstdint>

#include "base/little_endian.h"

namespace brisko::hive {

constexpr std::size_t kBaseBlockSize = 4096;    // in a hive file
constexpr std::size_t kLogBaseBlockSize = 512;  // in a log: the first sector
constexpr std::uint32_t kBinAlignment = 4096;   // hive bins data grows by this
constexpr std::size_t kLogSector = 512;

// Offsets of the base block's fields.
constexpr std::size_t kPrimarySequenceAt = 4;
constexpr std::size_t kSecondarySequenceAt = 8;
constexpr std::size_t kWrittenAtAt = 12;  // FILETIME
constexpr std::size_t kMajorVersionAt = 20;
constexpr std::size_t kFileTypeAt = 28;
constexpr std::size_t kFileFormatAt = 32;
constexpr std::size_t kBinsSizeAt = 40;
constexpr std::size_t kFileNameAt = 48;  // 64 bytes, then RmId and LogId
constexpr std::size_t kFlagsAt = 144;
constexpr std::size_t kTmIdAt = 148;  // 16 bytes
constexpr std::size_t kChecksumAt = 508;
// The first bin's header keeps a copy of the last-written timestamp.
constexpr std::size_t kFirstBinWrittenAt = kBaseBlockSize + 20;

constexpr std::uint32_t kFileTypePrimary = 0;
constexpr std::uint32_t kFileTypeOldLog = 1;
constexpr std::uint32_t kFileTypeVeryOldLog = 2;  // the old format, another number
constexpr std::uint32_t kFileTypeNewLog = 6;

inline std::uint64_t readLittle64(const std::uint8_t* bytes) {
    return static_cast<std::uint64_t>(readLittle32(bytes)) | static_cast<std::uint64_t>(readLittle32(bytes + 4)) << 32;
}
inline void writeLittle32(std::uint8_t* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline void writeLittle64(std::uint8_t* bytes, std::uint64_t value) {
    writeLittle32(bytes, static_cast<std::uint32_t>(value));
    writeLittle32(bytes + 4, static_cast<std::uint32_t>(value >> 32));
}

// The XOR of the 127 dwords before the checksum, 0 taken as 1 and all-ones
// as all-ones less one. block holds at least 512 bytes.
std::uint32_t baseBlockChecksum(const std::uint8_t* block);
inline bool checksumValid(const std::uint8_t* block) {
    return readLittle32(block + kChecksumAt) == baseBlockChecksum(block);
}
inline void sealBaseBlock(std::uint8_t* block) { writeLittle32(block + kChecksumAt, baseBlockChecksum(block)); }

// "regf" and the checksum right.
bool baseBlockValid(const std::uint8_t* block);
// A hive file is dirty when its base block is not valid or its sequence
// numbers differ: changes may wait in its logs.
bool hiveDirty(const std::uint8_t* block);

// Whether two base blocks name the same hive: the file name Windows keeps
// for debugging, the resource manager's and log's GUIDs and the
// transaction manager's, as a log's copy of its hive's base block keeps
// them.
bool sameHive(const std::uint8_t* one, const std::uint8_t* other);

// Sequence numbers wrap: a comes before b when b is less than half the
// range ahead of it.
inline bool sequenceBefore(std::uint32_t a, std::uint32_t b) {
    return a != b && static_cast<std::uint32_t>(b - a) <= 0x7FFFFFFFu;
}

}  // namespace brisko::hive
