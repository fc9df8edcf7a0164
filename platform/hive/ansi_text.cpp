#include "platform/hive/ansi_text.h"

#include "base/little_endian.h"

namespace brisko {
namespace {

// Only Latin-1's printable upper half maps to itself; its control
// characters 0x80-0x9F stand for other letters in Windows-1252.
char ansiOf(std::uint32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<char>(character);
    return '?';
}

}  // namespace

std::string ansiFromUtf16(const std::uint8_t* bytes, std::size_t length) {
    std::string text;
    text.reserve(length / 2);
    for (std::size_t at = 0; at + 1 < length; at += 2) text.push_back(ansiOf(readLittle16(bytes + at)));
    return text;
}

std::string ansiFromUtf8(const char* text) {
    std::string ansi;
    const auto* at = reinterpret_cast<const unsigned char*>(text);
    while (*at != 0) {
        const unsigned char lead = *at++;
        // The length of the sequence from its first byte; a stray
        // continuation byte counts as one character.
        int continuation = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        std::uint32_t character = continuation == 0 ? lead : lead & (0x3F >> continuation);
        for (; continuation > 0 && (*at & 0xC0) == 0x80; --continuation) character = character << 6 | (*at++ & 0x3F);
        ansi.push_back(continuation == 0 && !(lead >= 0x80 && lead < 0xC0) ? ansiOf(character) : '?');
    }
    return ansi;
}

}  // namespace brisko
