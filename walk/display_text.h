#pragma once
// Shortening of long paths for the one-line status text.
#include <cstddef>

namespace brisko {

// Writes text into output (of outputCapacity bytes). A text longer than
// limit becomes exactly limit characters: its first limit/2 - 1 characters,
// dots, and its last limit/2 - 1 characters. limit is at most 100.
void shortenForDisplay(const char* text, char* output, std::size_t outputCapacity, int limit);

}  // namespace brisko
