#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/text_compare.h"
#include "memscan/process_name_table.h"

namespace brisko {
namespace {

// The run of decimal digits that ends where text ends, cut to fit.
void trailingDigits(const char* text, std::size_t length, char* digits, std::size_t capacity) {
    std::size_t start = length;
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    const std::size_t count = std::min(length - start, capacity - 1);
    std::memcpy(digits, text + start, count);
    digits[count] = '\0';
}

}  // namespace

ProcessCounterNames findProcessCounterNames(const char* counters, std::size_t size) {
    ProcessCounterNames found{};
    const char* previous = "";
    std::size_t previousLength = 0;
    for (std::size_t at = 0; at < size;) {
        const void* end = std::memchr(counters + at, '\0', size - at);
        if (end == nullptr) break;  // an unterminated last string is not read
        const char* text = counters + at;
        const std::size_t length = static_cast<const char*>(end) - text;
        if (length == 0) break;
        if (equalIgnoringCase(text, "process")) {
            trailingDigits(previous, previousLength, found.objectIndex, sizeof found.objectIndex);
            found.hasObject = found.objectIndex[0] != '\0';
        } else if (equalIgnoringCase(text, "id process")) {
            char digits[16];
            trailingDigits(previous, previousLength, digits, sizeof digits);
            found.idProcessIndex = static_cast<std::uint32_t>(std::atol(digits));
            found.hasIdProcess = digits[0] != '\0';
        }
        previous = text;
        previousLength = length;
        at += length + 1;
    }
    return found;
}

}  // namespace brisko
