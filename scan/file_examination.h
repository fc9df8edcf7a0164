#pragma once
// What the scan does with every file it is offered: test it with the
// matcher and, on a detection, clean up after the trojan and treat the file.
#include <cstdint>

#include "matcher/threat_signature.h"

namespace brisko {

class Scan;

// The label of the walk's one threat callback; the direct disposition
// reports it as the threat name.
constexpr const char* kWalkThreatLabel = "W32/Krenot.Trojan ";

// A file whose listed length is not known is always opened.
constexpr std::uint64_t kLengthUnknown = ~std::uint64_t{0};

// Tests one file against the signature table; 1 on a detection, else 0. A
// file listed with a length no signature accepts is not opened.
int matchFile(Scan& scan, const char* threatLabel, const char* path, std::uint64_t listedLength = kLengthUnknown);
// The same against any table ending in a record with an empty name.
int matchFileAgainst(Scan& scan, const ThreatSignature* table, const char* threatLabel, const char* path,
                     std::uint64_t listedLength = kLengthUnknown);

}  // namespace brisko
