#pragma once
// Conversion of UTF-16 text for backends that know no code page: plain
// ASCII passes, anything else is refused.
#include <cstdint>

namespace brisko {

// As SystemControl::convertWideText: the bytes written with the terminator,
// 0 when a character is not ASCII or the text does not fit.
int convertAsciiText(const std::uint16_t* text, char* buffer, unsigned capacity);

}  // namespace brisko
