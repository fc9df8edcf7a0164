#pragma once
// The 125 signature records in table order, built by the rules at the top of
// signature_records.cpp.
#include <vector>

#include "matcher/threat_signature.h"

namespace brisko {

// The records without the end record. The draw is fixed, so this returns
// the same records every time; it throws std::runtime_error only if the
// rules themselves cannot be met.
std::vector<ThreatSignature> buildSignatureRecords();

}  // namespace brisko
