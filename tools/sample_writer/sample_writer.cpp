#include "tools/sample_writer/sample_writer.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "matcher/probe_offset.h"
#include "tools/sample_writer/filler.h"
#include "tools/sample_writer/image_plan.h"
#include "tools/sample_writer/pe_image_writer.h"

namespace brisko {
namespace {

// Past 64 KiB, but with the same low 16 bits as the usual offset, which
// point into the zeroed DOS part of the headers.
constexpr std::uint32_t kFarHeaderOffset = 0x10000 + kUsualHeaderOffset;
constexpr unsigned kTooManySections = kMaxSections + 1;
static_assert(kTooManySections <= kSectionTableRoom, "the headers leave room for the too-many-sections table");
// The byte of a probe window that the probe near misses change.
constexpr unsigned kChangedProbeByte = kProbeLength / 2;

// Makes up the count with empty uninitialized sections past the end of the
// image. Being last in the table and above every planned address, they take
// no probe away from the section it resolves through.
void fillSectionTable(ImagePlan& plan, unsigned count) {
    while (plan.sections.size() < count) {
        PlannedSection padding{};
        std::snprintf(padding.name, sizeof padding.name, ".pad%02u", static_cast<unsigned>(plan.sections.size()));
        padding.kind = SectionKind::Uninitialized;
        padding.virtualAddress = plan.sizeOfImage;
        padding.virtualSize = kSectionAlignment;
        plan.sizeOfImage += kSectionAlignment;
        plan.sections.push_back(padding);
    }
}

bool lastByteIsFiller(const ImagePlan& plan) {
    const std::uint32_t probesEnd = std::max(plan.probeFileOffset1, plan.probeFileOffset2) + kProbeLength;
    return probesEnd < plan.fileLength;
}

}  // namespace

std::vector<std::uint8_t> buildSample(const ThreatSignature& record, SampleLayout layout, NearMiss miss) {
    const std::uint32_t headerOffset = miss == NearMiss::HeaderOffsetBeyond64K ? kFarHeaderOffset : kUsualHeaderOffset;
    std::optional<ImagePlan> plan = planImage(record, layout, headerOffset);
    if (!plan) return {};
    if (layout == SampleLayout::FullSectionTable) fillSectionTable(*plan, kMaxSections);
    if (miss == NearMiss::TwentyOneSections) fillSectionTable(*plan, kTooManySections);
    if (miss == NearMiss::OneByteShort && !lastByteIsFiller(*plan)) return {};

    std::vector<std::uint8_t> image = writeImage(*plan, record);
    switch (miss) {
        case NearMiss::OneByteShort: image.pop_back(); break;
        case NearMiss::OneByteLong: image.push_back(fillerByte(image.size())); break;
        case NearMiss::Probe1Changed: image[plan->probeFileOffset1 + kChangedProbeByte] ^= 0xff; break;
        case NearMiss::Probe2Changed: image[plan->probeFileOffset2 + kChangedProbeByte] ^= 0xff; break;
        case NearMiss::None:
        case NearMiss::TwentyOneSections:
        case NearMiss::HeaderOffsetBeyond64K: break;
    }
    return image;
}

}  // namespace brisko
