#pragma once
// Case-blind comparison of byte strings, ASCII letters only, as the C
// runtime's _stricmp and _strnicmp do in the "C" locale.
#include <cstddef>

namespace brisko {

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the first count characters of a and b agree, ignoring case; a
// string that ends sooner agrees only where the other ends too.
inline bool equalIgnoringCase(const char* a, const char* b, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
        if (a[i] == '\0') return true;
    }
    return true;
}

inline bool equalIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (lowerAscii(*a) != lowerAscii(*b)) return false;
        if (*a == '\0') return true;
    }
}

}  // namespace brisko
