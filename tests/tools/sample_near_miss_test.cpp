// Every near miss differs from the matching sample in exactly the intended
// way, and the matcher rejects it; lifting the one limit it probes would
// make the matcher take it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "tests/tools/pe_test_reader.h"
#include "tests/tools/sample_test_support.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko::test {
namespace {

constexpr std::uint32_t kPeHeadersSize = 248;
constexpr std::uint32_t kSectionEntrySize = 40;

struct Samples {
    const ThreatSignature& record;
    const Bytes& good;
    const ParsedImage& goodParsed;
    const Bytes& near;
};

// Offsets where two images of the same length differ; whole blocks that
// compare equal are skipped, which keeps the sanitized build quick.
std::vector<std::size_t> differingOffsets(const Bytes& a, const Bytes& b) {
    constexpr std::size_t kBlock = 4096;
    std::vector<std::size_t> offsets;
    const std::size_t length = std::min(a.size(), b.size());
    for (std::size_t block = 0; block < length; block += kBlock) {
        const std::size_t blockEnd = std::min(length, block + kBlock);
        if (std::memcmp(a.data() + block, b.data() + block, blockEnd - block) == 0) continue;
        for (std::size_t i = block; i < blockEnd; ++i) {
            if (a[i] != b[i]) offsets.push_back(i);
        }
    }
    return offsets;
}

bool samePrefix(const Bytes& shorter, const Bytes& longer) {
    return std::equal(shorter.begin(), shorter.end(), longer.begin());
}

void checkOneByteShort(const Samples& s) {
    ASSERT_EQ(s.near.size() + 1, s.good.size());
    EXPECT_TRUE(samePrefix(s.near, s.good));
    // The probes are still in place: only the size test fails.
    ThreatSignature anyLength = s.record;
    anyLength.sizeMode = kSizeAny;
    EXPECT_TRUE(matchesRecord(anyLength, s.near));
}

void checkOneByteLong(const Samples& s) {
    ASSERT_EQ(s.near.size(), s.good.size() + 1);
    EXPECT_TRUE(samePrefix(s.good, s.near));
    ThreatSignature anyLength = s.record;
    anyLength.sizeMode = kSizeAny;
    EXPECT_TRUE(matchesRecord(anyLength, s.near));
}

void checkOneProbeByte(const Samples& s, std::int32_t probeOffset) {
    ASSERT_EQ(s.near.size(), s.good.size());
    const std::vector<std::size_t> changed = differingOffsets(s.good, s.near);
    ASSERT_EQ(changed.size(), 1u);
    const std::uint32_t window = probeFileOffset(s.goodParsed, s.good.size(), probeOffset);
    EXPECT_GE(changed[0], window);
    EXPECT_LT(changed[0], window + kProbeLength);
}

void checkProbe1Changed(const Samples& s) { checkOneProbeByte(s, s.record.probeOffset1); }
void checkProbe2Changed(const Samples& s) { checkOneProbeByte(s, s.record.probeOffset2); }

// Only the count, the sizes that follow from the added sections and the
// table's unused slots change, and a reader without the limit still finds
// both probes through the first sections.
void checkTwentyOneSections(const Samples& s) {
    ASSERT_EQ(s.near.size(), s.good.size());
    const std::uint32_t at = s.goodParsed.headerOffset;
    struct Range {
        std::uint64_t start, end;
    };
    const Range allowed[] = {
        {at + 6, at + 8},                // NumberOfSections
        {at + 24 + 12, at + 24 + 16},    // SizeOfUninitializedData
        {at + 24 + 56, at + 24 + 60},    // SizeOfImage
        {at + kPeHeadersSize + kSectionEntrySize * s.goodParsed.numberOfSections,
         at + kPeHeadersSize + kSectionEntrySize * (kMaxSections + 1)},  // the added entries
    };
    for (const std::size_t offset : differingOffsets(s.good, s.near)) {
        EXPECT_TRUE(std::any_of(std::begin(allowed), std::end(allowed),
                                [&](const Range& range) { return offset >= range.start && offset < range.end; }))
            << "byte " << offset << " changed";
    }
    EXPECT_EQ(readLe16(s.near, at + 6), kMaxSections + 1);
    EXPECT_FALSE(parseImage(s.near).has_value());

    const ReadOptions noLimit{false, false};
    const std::optional<ParsedImage> unlimited = parseImage(s.near, noLimit);
    ASSERT_TRUE(unlimited.has_value());
    EXPECT_EQ(unlimited->numberOfSections, kMaxSections + 1);
    for (const std::int32_t probeOffset : {s.record.probeOffset1, s.record.probeOffset2}) {
        EXPECT_EQ(probeFileOffset(*unlimited, s.near.size(), probeOffset),
                  probeFileOffset(s.goodParsed, s.good.size(), probeOffset));
    }
    EXPECT_TRUE(matchesRecord(s.record, s.near, noLimit));
}

// The headers sit past 64 KiB: the 16 bits the matcher reads point at no
// "PE" mark, and all 32 bits lead to headers that match.
void checkHeaderOffsetBeyond64K(const Samples& s) {
    ASSERT_EQ(s.near.size(), s.good.size());
    const std::uint32_t headerOffset = readLe32(s.near, 60);
    EXPECT_GE(headerOffset, 0x10000u);
    EXPECT_FALSE(parseImage(s.near).has_value());
    const std::uint16_t lowBits = readLe16(s.near, 60);
    EXPECT_FALSE(s.near[lowBits] == 'P' && s.near[lowBits + 1] == 'E' && s.near[lowBits + 2] == 0 &&
                 s.near[lowBits + 3] == 0);

    const ReadOptions fullOffset{true, true};
    const std::optional<ParsedImage> parsed = parseImage(s.near, fullOffset);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->headerOffset, headerOffset);
    EXPECT_EQ(parsed->numberOfSections, s.goodParsed.numberOfSections);
    EXPECT_TRUE(matchesRecord(s.record, s.near, fullOffset));
}

struct NearMissCheck {
    NearMiss miss;
    void (*check)(const Samples&);
};

constexpr NearMissCheck kChecks[] = {
    {NearMiss::OneByteShort, checkOneByteShort},
    {NearMiss::OneByteLong, checkOneByteLong},
    {NearMiss::Probe1Changed, checkProbe1Changed},
    {NearMiss::Probe2Changed, checkProbe2Changed},
    {NearMiss::TwentyOneSections, checkTwentyOneSections},
    {NearMiss::HeaderOffsetBeyond64K, checkHeaderOffsetBeyond64K},
};

// From the lowest to the highest of the entry point and both windows.
std::int64_t entryAndProbeSpan(const ThreatSignature& record) {
    const std::int64_t first = std::min<std::int64_t>({record.probeOffset1, record.probeOffset2, 0});
    const std::int64_t last =
        std::max<std::int64_t>({record.probeOffset1 + std::int64_t{kProbeLength},
                                record.probeOffset2 + std::int64_t{kProbeLength}, 1});
    return last - first;
}

// Moving the headers past 64 KiB needs room; 128 KiB beyond the span of
// the entry point and the probes is plenty for every layout.
bool roomForFarHeaders(const ThreatSignature& record) {
    return record.expectedSize >= entryAndProbeSpan(record) + 0x20000;
}

TEST(NearMiss, EachDiffersAsIntendedAndIsRejected) {
    static_assert(std::size(kChecks) == std::size(kAllNearMisses), "a check for every near miss");
    // How many samples each check examined: an empty table or a near miss
    // that is never built must not pass unseen.
    std::size_t examined[std::size(kChecks)] = {};
    for (const SampleLayout layout : kAllLayouts) {
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            SCOPED_TRACE(describe(index, layout));
            const ThreatSignature& record = signatureTable[index];
            const Bytes good = buildSample(record, layout);
            const std::optional<ParsedImage> goodParsed = parseImage(good);
            ASSERT_TRUE(goodParsed.has_value());
            ASSERT_TRUE(matchesRecord(record, good));
            for (std::size_t c = 0; c < std::size(kChecks); ++c) {
                const NearMissCheck& check = kChecks[c];
                SCOPED_TRACE(nearMissName(check.miss));
                const Bytes near = buildSample(record, layout, check.miss);
                const bool mayBeMissing = check.miss == NearMiss::HeaderOffsetBeyond64K && !roomForFarHeaders(record);
                if (near.empty()) {
                    EXPECT_TRUE(mayBeMissing);
                    continue;
                }
                EXPECT_FALSE(matchesRecord(record, near));
                check.check(Samples{record, good, *goodParsed, near});
                ++examined[c];
            }
        }
    }
    const std::size_t samples = std::size(kAllLayouts) * kSignatureCount;
    ASSERT_GT(samples, 0u);
    for (std::size_t c = 0; c < std::size(kChecks); ++c) {
        SCOPED_TRACE(nearMissName(kChecks[c].miss));
        if (kChecks[c].miss == NearMiss::HeaderOffsetBeyond64K) {
            EXPECT_GT(examined[c], 0u);
        } else {
            EXPECT_EQ(examined[c], samples);
        }
    }
}

TEST(NearMiss, HeadersBeyond64KAreRefusedWhenTheFileIsTooSmall) {
    ThreatSignature record = signatureTable[0];
    record.probeOffset1 = -0x100;
    record.probeOffset2 = 0x100;
    record.expectedSize = 0x10000;
    for (const SampleLayout layout : kAllLayouts) {
        SCOPED_TRACE(layoutName(layout));
        EXPECT_FALSE(buildSample(record, layout).empty());
        EXPECT_TRUE(buildSample(record, layout, NearMiss::HeaderOffsetBeyond64K).empty());
    }
}

}  // namespace
}  // namespace brisko::test
