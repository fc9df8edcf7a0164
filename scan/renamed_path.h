#pragma once
// The name an infected file is renamed to: the character after the last '.'
// of the whole path becomes 'V' (C:\dir\a.exe gives C:\dir\a.Vxe).
#include <cstddef>

namespace brisko {

// Writes the new name into renamed (of the given capacity). With no '.' at
// all the new name is the path itself. False when the path ends in '.' (no
// character to replace) or does not fit: such a file is not renamed.
bool renamedPathFor(const char* path, char* renamed, std::size_t capacity);

}  // namespace brisko
