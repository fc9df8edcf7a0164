#pragma once
// What a sample holds wherever nothing else goes: a repeating line of text,
// which reads as no code and, having a short period, cannot reproduce the
// irregular 20-byte probes by accident.
#include <cstddef>
#include <cstdint>

namespace brisko {

constexpr char kFillerText[] = "~brisko synthetic filler~ ";
constexpr std::size_t kFillerPeriod = sizeof kFillerText - 1;

// The filler byte for a file offset; the pattern is anchored to the file,
// not to the section, so any stretch of it can be predicted.
inline std::uint8_t fillerByte(std::uint64_t fileOffset) {
    return static_cast<std::uint8_t>(kFillerText[fileOffset % kFillerPeriod]);
}

}  // namespace brisko
