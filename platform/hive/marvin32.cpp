#include "platform/hive/marvin32.h"

#include "base/little_endian.h"

namespace brisko::hive {
namespace {

std::uint32_t rotateLeft(std::uint32_t value, int bits) { return value << bits | value >> (32 - bits); }

void mix(std::uint32_t& lo, std::uint32_t& hi) {
    hi ^= lo;
    lo = rotateLeft(lo, 20);
    lo += hi;
    hi = rotateLeft(hi, 9);
    hi ^= lo;
    lo = rotateLeft(lo, 27);
    lo += hi;
    hi = rotateLeft(hi, 19);
}

}  // namespace

std::uint64_t marvin32(const std::uint8_t* data, std::size_t size, std::uint64_t seed) {
    std::uint32_t lo = static_cast<std::uint32_t>(seed);
    std::uint32_t hi = static_cast<std::uint32_t>(seed >> 32);
    for (; size >= 4; data += 4, size -= 4) {
        lo += readLittle32(data);
        mix(lo, hi);
    }
    // The last 0 to 3 bytes, then a 0x80 byte to close them.
    std::uint32_t last = 0x80;
    for (std::size_t i = size; i > 0; --i) last = last << 8 | data[i - 1];
    lo += last;
    mix(lo, hi);
    mix(lo, hi);
    return static_cast<std::uint64_t>(hi) << 32 | lo;
}

}  // namespace brisko::hive
