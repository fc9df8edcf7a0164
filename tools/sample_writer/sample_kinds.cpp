#include "tools/sample_writer/sample_kinds.h"

namespace brisko {
namespace {

struct LayoutName {
    SampleLayout layout;
    const char* name;
};

struct NearMissName {
    NearMiss miss;
    const char* name;
};

constexpr LayoutName kLayoutNames[] = {
    {SampleLayout::OneSection, "one"},
    {SampleLayout::SectionsWithHoles, "holes"},
    {SampleLayout::NoSections, "none"},
    {SampleLayout::FullSectionTable, "full-table"},
};

constexpr NearMissName kNearMissNames[] = {
    {NearMiss::None, "none"},
    {NearMiss::OneByteShort, "one-byte-short"},
    {NearMiss::OneByteLong, "one-byte-long"},
    {NearMiss::Probe1Changed, "probe1-changed"},
    {NearMiss::Probe2Changed, "probe2-changed"},
    {NearMiss::TwentyOneSections, "twenty-one-sections"},
    {NearMiss::HeaderOffsetBeyond64K, "header-offset-beyond-64k"},
};

}  // namespace

const char* layoutName(SampleLayout layout) {
    for (const LayoutName& entry : kLayoutNames) {
        if (entry.layout == layout) return entry.name;
    }
    return "?";
}

const char* nearMissName(NearMiss miss) {
    for (const NearMissName& entry : kNearMissNames) {
        if (entry.miss == miss) return entry.name;
    }
    return "?";
}

std::optional<SampleLayout> layoutNamed(std::string_view name) {
    for (const LayoutName& entry : kLayoutNames) {
        if (name == entry.name) return entry.layout;
    }
    return std::nullopt;
}

std::optional<NearMiss> nearMissNamed(std::string_view name) {
    for (const NearMissName& entry : kNearMissNames) {
        if (name == entry.name) return entry.miss;
    }
    return std::nullopt;
}

}  // namespace brisko
