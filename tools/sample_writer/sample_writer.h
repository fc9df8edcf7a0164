#pragma once
// Synthetic samples for the tests and the demos: PE32 images that the file
// matcher takes for a given signature record, and near misses it must not.
// Nothing in them comes from a real program; they are filler text, headers
// and the record's own probe bytes.
#include <cstdint>
#include <vector>

#include "matcher/threat_signature.h"
#include "tools/sample_writer/sample_kinds.h"

namespace brisko {

// Builds the image for a record: exactly expectedSize bytes, each probe's
// 20 bytes at the file offset its entry-relative address resolves to through
// the image's own section table, clear of the headers and of each other.
//
// Returns an empty vector when the layout cannot hold the record that way,
// the entry point always inside the image:
// - every layout needs the two windows 20 bytes apart or more;
// - OneSection needs both windows to fit past the headers, and the entry
//   point too when it comes before both probes;
// - NoSections needs the entry point and both windows to fit past the
//   headers together;
// - SectionsWithHoles needs room for its filler gaps and page padding;
// - HeaderOffsetBeyond64K needs 64 KiB more room before the body;
// - OneByteShort needs the last byte to be filler, not probe.
// Every record of the signature table fits every layout; the far-headers
// near miss fits only the larger ones.
std::vector<std::uint8_t> buildSample(const ThreatSignature& record, SampleLayout layout = SampleLayout::OneSection,
                                      NearMiss miss = NearMiss::None);

}  // namespace brisko
