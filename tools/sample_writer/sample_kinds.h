#pragma once
// The kinds of synthetic sample the writer makes, and their names on the
// command line.
#include <optional>
#include <string_view>

namespace brisko {

// How the image lays out the places its probes resolve through.
enum class SampleLayout {
    OneSection,         // one section holds both probes
    SectionsWithHoles,  // several sections, with gaps between them in the file and in memory
    NoSections,         // no section table entries: every address is its own file offset
    FullSectionTable,   // as OneSection, with empty sections making up the matcher's limit of 20
};

// A sample that must be matched (None), or one that differs from a matching
// one in a single way that makes the matcher reject it.
enum class NearMiss {
    None,
    OneByteShort,
    OneByteLong,
    Probe1Changed,
    Probe2Changed,
    TwentyOneSections,      // NumberOfSections is 21, one over the matcher's limit
    HeaderOffsetBeyond64K,  // the PE headers sit past 64 KiB, beyond a 16-bit header offset
};

constexpr SampleLayout kAllLayouts[] = {SampleLayout::OneSection, SampleLayout::SectionsWithHoles,
                                        SampleLayout::NoSections, SampleLayout::FullSectionTable};

constexpr NearMiss kAllNearMisses[] = {NearMiss::OneByteShort,     NearMiss::OneByteLong,
                                       NearMiss::Probe1Changed,    NearMiss::Probe2Changed,
                                       NearMiss::TwentyOneSections, NearMiss::HeaderOffsetBeyond64K};

// "one", "holes", "none", "full-table".
const char* layoutName(SampleLayout layout);
// "none", "one-byte-short", "one-byte-long", "probe1-changed",
// "probe2-changed", "twenty-one-sections", "header-offset-beyond-64k".
const char* nearMissName(NearMiss miss);

std::optional<SampleLayout> layoutNamed(std::string_view name);
std::optional<NearMiss> nearMissNamed(std::string_view name);

}  // namespace brisko
