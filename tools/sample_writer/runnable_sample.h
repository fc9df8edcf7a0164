#pragma once
// A sample that really runs: a 64-bit image (PE32+, for the wine64 the
// tests have) that sleeps until it is ended, yet is exactly a record's size
// and holds its probes where the matcher resolves them from the entry
// point. Its optional header has 14 data directories, 224 bytes like a PE32
// one, so the section table stays where the matcher reads it.
#include <cstdint>
#include <vector>

#include "matcher/threat_signature.h"

namespace brisko {

// Empty when the record cannot be held that way: a probe window would
// overlap the code at the entry point or the import table, or lie outside
// the one section.
std::vector<std::uint8_t> buildRunnableSample(const ThreatSignature& record);

}  // namespace brisko
