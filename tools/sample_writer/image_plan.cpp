#include "tools/sample_writer/image_plan.h"

#include <algorithm>
#include <cstring>

namespace brisko {
namespace {

// The entry point is given one byte of its own, so it always lands in data
// the image really has.
constexpr std::int64_t kEntryLength = 1;
// Points of the holes layout closer than this share a section; farther ones
// get sections of their own with unmapped pages between them.
constexpr std::int64_t kClusterGap = 0x4000;
// How far into its page the largest section of the holes layout starts.
constexpr std::int64_t kClusterLead = 0x40;
// Filler between the raw data of the holes layout's sections.
constexpr std::int64_t kRawHole = kFileAlignment;
constexpr std::size_t kHoleLayoutSections = 3;

std::int64_t alignUp(std::int64_t value, std::int64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::int64_t alignDown(std::int64_t value, std::int64_t alignment) { return value / alignment * alignment; }

std::uint32_t u32(std::int64_t value) { return static_cast<std::uint32_t>(value); }

PlannedSection makeSection(const char* name, SectionKind kind, std::int64_t virtualAddress,
                           std::int64_t virtualSize, std::int64_t rawSize) {
    PlannedSection section{};
    std::strncpy(section.name, name, sizeof section.name - 1);
    section.kind = kind;
    section.virtualAddress = u32(virtualAddress);
    section.virtualSize = u32(virtualSize);
    section.sizeOfRawData = u32(rawSize);
    return section;
}

struct ProbeSpan {
    std::int64_t offset1;
    std::int64_t offset2;
    std::int64_t low() const { return std::min(offset1, offset2); }
    std::int64_t high() const { return std::max(offset1, offset2); }
};

// One section covering the whole body, probes centred in it, and the entry
// point inside the section (past its raw data if need be).
bool planOneSection(const ProbeSpan& probes, ImagePlan& plan) {
    const std::int64_t body = plan.fileLength - plan.sizeOfHeaders;
    const std::int64_t slack = body - (probes.high() + kProbeLength - probes.low());
    const std::int64_t lowInBody = std::max(slack / 2, probes.low());
    if (slack < 0 || lowInBody > slack) return false;
    const std::int64_t entryInBody = lowInBody - probes.low();

    plan.sections.push_back(makeSection(".text", SectionKind::Code, kSectionAlignment,
                                        std::max(body, entryInBody + kEntryLength), body));
    plan.sections.back().pointerToRawData = plan.sizeOfHeaders;
    plan.entryPoint = u32(kSectionAlignment + entryInBody);
    plan.probeFileOffset1 = u32(plan.sizeOfHeaders + entryInBody + probes.offset1);
    plan.probeFileOffset2 = u32(plan.sizeOfHeaders + entryInBody + probes.offset2);
    const PlannedSection& text = plan.sections.back();
    plan.sizeOfImage = u32(alignUp(text.virtualAddress + text.virtualSize, kSectionAlignment));
    return true;
}

// Addresses are file offsets, so the entry point and both probes are centred
// in the body together.
bool planNoSections(const ProbeSpan& probes, ImagePlan& plan) {
    const std::int64_t first = std::min<std::int64_t>(probes.low(), 0);
    const std::int64_t last = std::max<std::int64_t>(probes.high() + kProbeLength, kEntryLength);
    const std::int64_t slack = plan.fileLength - plan.sizeOfHeaders - (last - first);
    if (slack < 0) return false;
    const std::int64_t entry = plan.sizeOfHeaders + slack / 2 - first;
    plan.entryPoint = u32(entry);
    plan.probeFileOffset1 = u32(entry + probes.offset1);
    plan.probeFileOffset2 = u32(entry + probes.offset2);
    plan.sizeOfImage = u32(alignUp(plan.fileLength, kSectionAlignment));
    return true;
}

// A run of entry-relative bytes that one section of the holes layout holds.
struct Cluster {
    std::int64_t start;
    std::int64_t end;
    bool holdsEntry;
};

std::vector<Cluster> clusterPoints(const ProbeSpan& probes) {
    struct Point {
        std::int64_t offset;
        std::int64_t length;
        bool entry;
    };
    Point points[] = {{probes.offset1, kProbeLength, false},
                      {probes.offset2, kProbeLength, false},
                      {0, kEntryLength, true}};
    std::sort(std::begin(points), std::end(points),
              [](const Point& a, const Point& b) { return a.offset < b.offset; });
    std::vector<Cluster> clusters;
    for (const Point& point : points) {
        if (!clusters.empty() && point.offset - clusters.back().end < kClusterGap) {
            clusters.back().end = std::max(clusters.back().end, point.offset + point.length);
            clusters.back().holdsEntry = clusters.back().holdsEntry || point.entry;
        } else {
            clusters.push_back({point.offset, point.offset + point.length, point.entry});
        }
    }
    return clusters;
}

// Probes and entry point far apart in memory get sections of their own
// with unmapped pages between them, near ones share; filler sections make up
// at least three. In the file the sections' raw data follow each other with
// filler between, so file distances differ from memory distances.
bool planSectionsWithHoles(const ProbeSpan& probes, ImagePlan& plan) {
    const std::vector<Cluster> clusters = clusterPoints(probes);
    const Cluster& largest = *std::max_element(clusters.begin(), clusters.end(), [](const Cluster& a, const Cluster& b) {
        return a.end - a.start < b.end - b.start;
    });
    // The largest cluster wastes least when it starts near its page's start;
    // the first one still starts at least a page into the image.
    const std::int64_t largestPage = alignUp(kSectionAlignment + largest.start - clusters.front().start, kSectionAlignment);
    const std::int64_t entry = largestPage + kClusterLead - largest.start;

    const char* dataNames[] = {".rdata", ".data"};
    std::size_t dataSections = 0;
    for (const Cluster& cluster : clusters) {
        const std::int64_t start = entry + cluster.start;
        const std::int64_t virtualAddress = alignDown(start, kSectionAlignment);
        const std::int64_t virtualSize = entry + cluster.end - virtualAddress;
        plan.sections.push_back(makeSection(cluster.holdsEntry ? ".text" : dataNames[dataSections++],
                                            cluster.holdsEntry ? SectionKind::Code : SectionKind::Data,
                                            virtualAddress, virtualSize, alignUp(virtualSize, kFileAlignment)));
    }
    while (plan.sections.size() < kHoleLayoutSections) {
        const PlannedSection& previous = plan.sections.back();
        const std::int64_t virtualAddress =
            alignUp(std::int64_t{previous.virtualAddress} + previous.virtualSize, kSectionAlignment) + kSectionAlignment;
        plan.sections.push_back(makeSection(dataNames[dataSections++], SectionKind::Data, virtualAddress,
                                            kFileAlignment, kFileAlignment));
    }

    std::int64_t rawEnd = plan.sizeOfHeaders;
    for (PlannedSection& section : plan.sections) {
        section.pointerToRawData = u32(rawEnd + kRawHole);
        rawEnd = std::int64_t{section.pointerToRawData} + section.sizeOfRawData;
    }
    if (rawEnd > plan.fileLength) return false;

    // The first sections are the clusters' own, in the same order.
    const auto fileOffsetOf = [&](std::int64_t entryRelative) {
        std::size_t index = 0;
        while (entryRelative >= clusters[index].end) ++index;
        const PlannedSection& section = plan.sections[index];
        return u32(entry + entryRelative - section.virtualAddress + section.pointerToRawData);
    };
    plan.entryPoint = u32(entry);
    plan.probeFileOffset1 = fileOffsetOf(probes.offset1);
    plan.probeFileOffset2 = fileOffsetOf(probes.offset2);
    const PlannedSection& last = plan.sections.back();
    plan.sizeOfImage = u32(alignUp(std::int64_t{last.virtualAddress} + last.virtualSize, kSectionAlignment));
    return true;
}

}  // namespace

std::optional<ImagePlan> planImage(const ThreatSignature& record, SampleLayout layout,
                                   std::uint32_t headerOffset) {
    const ProbeSpan probes{record.probeOffset1, record.probeOffset2};
    if (record.expectedSize <= 0 || record.expectedSize > kLargestSample) return std::nullopt;
    if (probes.high() - probes.low() < kProbeLength) return std::nullopt;  // the windows would overlap

    ImagePlan plan{};
    plan.fileLength = u32(record.expectedSize);
    plan.headerOffset = headerOffset;
    plan.sizeOfHeaders =
        u32(alignUp(std::int64_t{headerOffset} + kPeHeadersSize + kSectionTableRoom * kSectionEntrySize, kFileAlignment));
    if (plan.sizeOfHeaders >= plan.fileLength) return std::nullopt;

    bool planned = false;
    switch (layout) {
        // The full table's empty sections are added to the plan afterwards.
        case SampleLayout::OneSection:
        case SampleLayout::FullSectionTable: planned = planOneSection(probes, plan); break;
        case SampleLayout::SectionsWithHoles: planned = planSectionsWithHoles(probes, plan); break;
        case SampleLayout::NoSections: planned = planNoSections(probes, plan); break;
    }
    if (!planned) return std::nullopt;
    return plan;
}

}  // namespace brisko
