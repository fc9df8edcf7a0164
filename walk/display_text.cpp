#include "walk/display_text.h"

#include <cstring>

namespace brisko {

void shortenForDisplay(const char* text, char* output, std::size_t outputCapacity, int limit) {
    if (outputCapacity == 0) return;
    const std::size_t length = std::strlen(text);
    const int half = limit / 2 - 1;
    std::size_t written = 0;
    if (length <= static_cast<std::size_t>(limit > 0 ? limit : 0) || half <= 0) {
        written = length < outputCapacity ? length : outputCapacity - 1;
        std::memcpy(output, text, written);
    } else if (static_cast<std::size_t>(limit) < outputCapacity) {
        const std::size_t keep = static_cast<std::size_t>(half);
        const std::size_t dots = static_cast<std::size_t>(limit) - 2 * keep;
        std::memcpy(output, text, keep);
        std::memset(output + keep, '.', dots);
        std::memcpy(output + keep + dots, text + length - keep, keep);
        written = static_cast<std::size_t>(limit);
    }
    output[written] = '\0';
}

}  // namespace brisko
