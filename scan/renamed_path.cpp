#include "scan/renamed_path.h"

#include <cstring>

#include "base/bounded_text.h"

namespace brisko {

bool renamedPathFor(const char* path, char* renamed, std::size_t capacity) {
    if (!copyIfFits(renamed, capacity, path)) return false;
    char* lastDot = std::strrchr(renamed, '.');
    if (lastDot == nullptr) return true;
    if (lastDot[1] == '\0') return false;
    lastDot[1] = 'V';
    return true;
}

}  // namespace brisko
