#pragma once
// Marvin32, the keyed hash the registry's new-format transaction logs
// protect their entries with (the same function .NET and SymCrypt carry).
// The result is the two 32-bit halves of the state, high half first:
// (hi << 32) | lo, as a log entry stores it little-endian.
#include <cstddef>
#include <cstdint>

namespace brisko::hive {

// The seed of the registry's log entries. The format's description spells
// its eight bytes 82 EF 4D 88 7A 4E 55 C5, which is the number written
// most significant byte first: the kernel hands SymCrypt the 64-bit value
// 0x82EF4D887A4E55C5 as it lies in memory, so the state starts with
// lo = 0x7A4E55C5 and hi = 0x82EF4D88.
constexpr std::uint64_t kHiveLogSeed = 0x82EF4D887A4E55C5ULL;

std::uint64_t marvin32(const std::uint8_t* data, std::size_t size, std::uint64_t seed);

}  // namespace brisko::hive
