#pragma once
// Copies into fixed text buffers that never write past their end.
#include <cstddef>
#include <cstring>
#include <string_view>

namespace brisko {

// Copies text into a buffer of the given capacity when it fits with its
// terminator; returns false and leaves the buffer untouched otherwise.
inline bool copyIfFits(char* buffer, std::size_t capacity, const char* text) {
    const std::size_t length = std::strlen(text);
    if (length >= capacity) return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

template <std::size_t N>
bool copyIfFits(char (&buffer)[N], const char* text) {
    return copyIfFits(buffer, N, text);
}

// Copies as much of the text as fits and always terminates the buffer.
template <std::size_t N>
void copyTruncated(char (&buffer)[N], const char* text) {
    std::size_t length = std::strlen(text);
    if (length >= N) length = N - 1;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

// The same for a text that knows its length, such as a fixed field that
// may fill its whole width without a terminator.
template <std::size_t N>
void copyTruncated(char (&buffer)[N], std::string_view text) {
    const std::size_t length = text.size() < N ? text.size() : N - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// Joins two texts into a buffer when the whole fits; false otherwise, with
// the buffer untouched.
inline bool joinIfFits(char* buffer, std::size_t capacity, const char* head,
                       std::size_t headLength, const char* tail) {
    const std::size_t tailLength = std::strlen(tail);
    if (headLength + tailLength >= capacity) return false;
    std::memmove(buffer, head, headLength);
    std::memcpy(buffer + headLength, tail, tailLength + 1);
    return true;
}

}  // namespace brisko
