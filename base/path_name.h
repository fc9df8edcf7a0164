#pragma once
// The file name of a Windows path: what follows its last backslash.
#include <cstring>

namespace brisko {

// The whole path when it has no backslash, and an empty name when it ends in
// one. A forward slash or a drive colon does not separate: the paths this
// program compares come from the system, which writes backslashes.
inline const char* fileNameOf(const char* path) {
    const char* lastBackslash = std::strrchr(path, '\\');
    return lastBackslash != nullptr ? lastBackslash + 1 : path;
}

}  // namespace brisko
