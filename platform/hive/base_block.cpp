#include "platform/hive/base_block.h"

#include <cstring>

namespace brisko::hive {

std::uint32_t baseBlockChecksum(const std::uint8_t* block) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < kChecksumAt; at += 4) sum ^= readLittle32(block + at);
    if (sum == 0) return 1;
    if (sum == 0xFFFFFFFFu) return 0xFFFFFFFEu;
    return sum;
}

bool baseBlockValid(const std::uint8_t* block) { return std::memcmp(block, "regf", 4) == 0 && checksumValid(block); }

bool hiveDirty(const std::uint8_t* block) {
    return !baseBlockValid(block) ||
           readLittle32(block + kPrimarySequenceAt) != readLittle32(block + kSecondarySequenceAt);
}

bool sameHive(const std::uint8_t* one, const std::uint8_t* other) {
    return std::memcmp(one + kFileNameAt, other + kFileNameAt, kFlagsAt - kFileNameAt) == 0 &&
           std::memcmp(one + kTmIdAt, other + kTmIdAt, 16) == 0;
}

}  // namespace brisko::hive
