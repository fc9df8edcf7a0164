#pragma once
// The image matcher: whether a file is a Portable Executable image that one
// of the signatures names. It only reads; what a detection leads to is the
// scan's business.
#include <cstdint>

#include "matcher/threat_signature.h"
#include "platform/read_only_file.h"

namespace brisko {

// Whether any record of the table could accept a file listed with this
// length; a length past 2 GiB cannot even be measured by the matcher.
bool someSignatureAcceptsLength(const ThreatSignature* table, std::uint64_t length);

// The first record of the table (which ends in a record with an empty name)
// that names the image open in file; null when none does, or when the
// headers cannot be read.
const ThreatSignature* findSignature(const ThreatSignature* table, ReadOnlyFile& file);

}  // namespace brisko
