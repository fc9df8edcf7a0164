#pragma once
// A sample that really runs: a 64-bit image (PE32+) or a 32-bit one (PE32)
// that sleeps until it is ended, yet is exactly a record's size and holds
// its probes where the matcher resolves them from the entry point. The
// PE32+ optional header has 14 data directories, 224 bytes like a PE32 one,
// so the section table stays where the matcher reads it.
#include <cstdint>
#include <vector>

#include "matcher/threat_signature.h"

namespace brisko {

// Empty when the record cannot be held that way: a probe window would
// overlap the code at the entry point or the import table, or lie outside
// the one section.
enum class RunnableMachine {
    kX86_64,
    // A 32-bit trojan, as the family is; also runs on 64-bit Windows.
    kI386,
};

std::vector<std::uint8_t> buildRunnableSample(const ThreatSignature& record,
                                              RunnableMachine machine = RunnableMachine::kX86_64);

}  // namespace brisko
