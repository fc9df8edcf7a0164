#pragma once
// Helpers shared by the sample tests.
#include <string>

#include "matcher/threat_signature.h"
#include "tools/sample_writer/sample_kinds.h"

namespace brisko::test {

// "record 5 W32/Krenot.Gn.PSW.Trojan, layout one", for SCOPED_TRACE.
inline std::string describe(unsigned index, SampleLayout layout) {
    return "record " + std::to_string(index + 1) + " " + signatureTable[index].name + ", layout " +
           layoutName(layout);
}

}  // namespace brisko::test
