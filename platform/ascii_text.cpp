#include "platform/ascii_text.h"

namespace brisko {

int convertAsciiText(const std::uint16_t* text, char* buffer, unsigned capacity) {
    for (unsigned i = 0; i < capacity; ++i) {
        if (text[i] >= 0x80) return 0;
        buffer[i] = static_cast<char>(text[i]);
        if (text[i] == 0) return static_cast<int>(i + 1);
    }
    return 0;
}

}  // namespace brisko
