#include "tools/brisko_scan/json_text.h"

#include <cstdint>
#include <cstdio>

namespace brisko {
namespace {

// The length of the well-formed UTF-8 sequence at the start of text, or 0.
std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    std::uint32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    std::uint32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        point = (point << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point >= least && point <= 0x10FFFF && !surrogate ? length : 0;
}

void appendEscaped(std::string& out, unsigned code) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
    out += escaped;
}

}  // namespace

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20) {
            appendEscaped(out, byte);
        } else if (byte >= 0x80) {
            if (const std::size_t length = utf8SequenceLength(text.substr(i))) {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
            appendEscaped(out, byte);
        } else {
            out += static_cast<char>(byte);
        }
        ++i;
    }
    return out + "\"";
}

}  // namespace brisko
