#pragma once
// Renders the signature records as the C++ source of the matcher's table.
#include <string>
#include <vector>

#include "matcher/threat_signature.h"

namespace brisko {

// The whole text of matcher/signature_table.cpp for these records; the end
// record is added here.
std::string renderSignatureTableSource(const std::vector<ThreatSignature>& records);

}  // namespace brisko
