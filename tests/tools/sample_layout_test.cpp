// Every record, in every layout, comes out as an image the matcher takes:
// exact length, both probes where the image's own section table sends the
// matcher, clear of the headers and of each other, filler everywhere else.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/pe_test_reader.h"
#include "tests/tools/sample_test_support.h"
#include "tools/sample_writer/filler.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko::test {
namespace {

bool inWindow(std::uint64_t offset, std::uint32_t windowStart) {
    return offset >= windowStart && offset < windowStart + kProbeLength;
}

// Builds every record in one layout and runs `check` on each parsed sample.
template <typename Check>
void forEverySample(SampleLayout layout, Check check) {
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(describe(index, layout));
        const ThreatSignature& record = signatureTable[index];
        const Bytes image = buildSample(record, layout);
        ASSERT_FALSE(image.empty()) << "every table record fits every layout";
        const std::optional<ParsedImage> parsed = parseImage(image);
        ASSERT_TRUE(parsed.has_value());
        check(record, image, *parsed);
    }
}

TEST(SampleLayout, ProbesSitWhereTheMatcherReadsThem) {
    for (const SampleLayout layout : kAllLayouts) {
        forEverySample(layout, [](const ThreatSignature& record, const Bytes& image, const ParsedImage& parsed) {
            ASSERT_EQ(image.size(), static_cast<std::size_t>(record.expectedSize));
            const std::uint32_t first = probeFileOffset(parsed, image.size(), record.probeOffset1);
            const std::uint32_t second = probeFileOffset(parsed, image.size(), record.probeOffset2);
            EXPECT_GE(first, parsed.sizeOfHeaders);
            EXPECT_GE(second, parsed.sizeOfHeaders);
            EXPECT_LE(first + kProbeLength, image.size());
            EXPECT_LE(second + kProbeLength, image.size());
            EXPECT_TRUE(first + kProbeLength <= second || second + kProbeLength <= first)
                << "windows at " << first << " and " << second << " overlap";
            EXPECT_TRUE(probeFound(image, parsed, record.probeOffset1, record.probeBytes1));
            EXPECT_TRUE(probeFound(image, parsed, record.probeOffset2, record.probeBytes2));
            EXPECT_TRUE(matchesRecord(record, image));
        });
    }
}

TEST(SampleLayout, EverythingPastTheHeadersButTheProbesIsFiller) {
    for (const SampleLayout layout : kAllLayouts) {
        forEverySample(layout, [](const ThreatSignature& record, const Bytes& image, const ParsedImage& parsed) {
            const std::uint32_t first = probeFileOffset(parsed, image.size(), record.probeOffset1);
            const std::uint32_t second = probeFileOffset(parsed, image.size(), record.probeOffset2);
            std::size_t strays = 0;
            for (std::size_t offset = parsed.sizeOfHeaders; offset < image.size(); ++offset) {
                if (!inWindow(offset, first) && !inWindow(offset, second) && image[offset] != fillerByte(offset)) {
                    ++strays;
                }
            }
            EXPECT_EQ(strays, 0u);
        });
    }
}

TEST(SampleLayout, HeadersArePlausiblePe32) {
    for (const SampleLayout layout : kAllLayouts) {
        forEverySample(layout, [](const ThreatSignature&, const Bytes& image, const ParsedImage& parsed) {
            EXPECT_EQ(image[0], 'M');
            EXPECT_EQ(image[1], 'Z');
            EXPECT_EQ(readLe32(image, 60), parsed.headerOffset) << "no bits above the 16 the matcher reads";
            EXPECT_EQ(parsed.machine, 0x14c);
            EXPECT_EQ(parsed.sizeOfOptionalHeader, 224);
            EXPECT_EQ(parsed.optionalMagic, 0x10b);
            EXPECT_EQ(parsed.fileAlignment, 0x200u);
            EXPECT_EQ(parsed.sectionAlignment, 0x1000u);
            EXPECT_EQ(parsed.sizeOfHeaders % parsed.fileAlignment, 0u);
            EXPECT_EQ(parsed.sizeOfImage % parsed.sectionAlignment, 0u);
            EXPECT_GE(parsed.sizeOfHeaders, parsed.headerOffset + 248 + 40u * parsed.numberOfSections);

            bool entryInside = parsed.sections.empty() && parsed.entryPoint >= parsed.sizeOfHeaders &&
                               parsed.entryPoint < image.size();
            std::uint32_t previousEnd = parsed.sizeOfHeaders;
            for (const SectionHeader& section : parsed.sections) {
                EXPECT_EQ(section.virtualAddress % parsed.sectionAlignment, 0u);
                EXPECT_GE(section.virtualAddress, previousEnd) << "sections overlap or are out of order";
                EXPECT_LE(section.virtualAddress + section.virtualSize, parsed.sizeOfImage);
                // A section of uninitialized data has no bytes in the file
                // and, as the format allows, no place there either.
                if (section.sizeOfRawData != 0 || section.pointerToRawData != 0) {
                    EXPECT_EQ(section.pointerToRawData % parsed.fileAlignment, 0u);
                    EXPECT_GE(section.pointerToRawData, parsed.sizeOfHeaders);
                    EXPECT_LE(section.pointerToRawData + section.sizeOfRawData, image.size());
                }
                previousEnd = section.virtualAddress + section.virtualSize;
                entryInside = entryInside || (parsed.entryPoint >= section.virtualAddress &&
                                              parsed.entryPoint < previousEnd);
            }
            EXPECT_TRUE(entryInside) << "entry point " << parsed.entryPoint;
        });
    }
}

TEST(SampleLayout, OneSectionHoldsBothProbesInItsRawData) {
    forEverySample(SampleLayout::OneSection,
                   [](const ThreatSignature& record, const Bytes& image, const ParsedImage& parsed) {
                       ASSERT_EQ(parsed.numberOfSections, 1);
                       const SectionHeader& text = parsed.sections[0];
                       for (const std::int32_t probeOffset : {record.probeOffset1, record.probeOffset2}) {
                           const std::uint32_t offset = probeFileOffset(parsed, image.size(), probeOffset);
                           EXPECT_GE(offset, text.pointerToRawData);
                           EXPECT_LE(offset + kProbeLength, text.pointerToRawData + text.sizeOfRawData);
                       }
                   });
}

TEST(SampleLayout, NoSectionsMakesEveryAddressItsOwnOffset) {
    forEverySample(SampleLayout::NoSections,
                   [](const ThreatSignature& record, const Bytes& image, const ParsedImage& parsed) {
                       ASSERT_EQ(parsed.numberOfSections, 0);
                       EXPECT_EQ(probeFileOffset(parsed, image.size(), record.probeOffset1),
                                 parsed.entryPoint + static_cast<std::uint32_t>(record.probeOffset1));
                       EXPECT_EQ(probeFileOffset(parsed, image.size(), record.probeOffset2),
                                 parsed.entryPoint + static_cast<std::uint32_t>(record.probeOffset2));
                   });
}

TEST(SampleLayout, HolesSeparateSectionsInMemoryAndInTheFile) {
    forEverySample(SampleLayout::SectionsWithHoles,
                   [](const ThreatSignature& record, const Bytes& image, const ParsedImage& parsed) {
                       ASSERT_GE(parsed.numberOfSections, 3);
                       EXPECT_GT(parsed.sections[0].pointerToRawData, parsed.sizeOfHeaders);
                       for (std::size_t i = 1; i < parsed.sections.size(); ++i) {
                           const SectionHeader& before = parsed.sections[i - 1];
                           const SectionHeader& after = parsed.sections[i];
                           const std::uint32_t pageAfterBefore =
                               (before.virtualAddress + before.virtualSize + 0xfff) & ~0xfffu;
                           EXPECT_GT(after.virtualAddress, pageAfterBefore) << "no unmapped page before section " << i;
                           EXPECT_GT(after.pointerToRawData, before.pointerToRawData + before.sizeOfRawData)
                               << "no filler before the raw data of section " << i;
                       }
                       // Each probe lies inside the raw data of the section it resolves through.
                       for (const std::int32_t probeOffset : {record.probeOffset1, record.probeOffset2}) {
                           const std::uint32_t offset = probeFileOffset(parsed, image.size(), probeOffset);
                           EXPECT_TRUE(std::any_of(parsed.sections.begin(), parsed.sections.end(),
                                                   [&](const SectionHeader& section) {
                                                       return offset >= section.pointerToRawData &&
                                                              offset + kProbeLength <=
                                                                  section.pointerToRawData + section.sizeOfRawData;
                                                   }));
                       }
                   });
}

// A layout is refused only when it really cannot hold the record with its
// entry point inside the image: without sections the entry point and both
// windows must fit past the headers together; with one section the windows
// must, and so must the entry point if it comes before both.
TEST(SampleLayout, RefusesExactlyTheRecordsThatCannotFit) {
    struct Case {
        const char* what;
        std::int32_t probeOffset1;
        std::int32_t probeOffset2;
        std::int32_t expectedSize;
        bool fitsOneSection;
        bool fitsNoSections;
    };
    // Headers take 0x600 bytes: a 0x2000-byte file has 0x1a00 bytes past them.
    constexpr Case kCases[] = {
        {"entry between the probes", -0x800, 0x800, 0x2000, true, true},
        {"windows and entry fill the body exactly", -0x19ec, 0, 0x2000, true, true},
        {"one byte more than the body", -0x19ed, 0, 0x2000, false, false},
        {"both probes far behind the entry", -0x3000, -0x2000, 0x3000, true, false},
        {"both probes ahead of the entry, within reach", 0x1000, 0x2000, 0x3000, true, true},
        {"both probes too far ahead of the entry", 0x2000, 0x3000, 0x3000, false, false},
        {"windows overlap", 100, 110, 0x4000, false, false},
    };
    for (const Case& testCase : kCases) {
        SCOPED_TRACE(testCase.what);
        ThreatSignature record = signatureTable[0];
        record.probeOffset1 = testCase.probeOffset1;
        record.probeOffset2 = testCase.probeOffset2;
        record.expectedSize = testCase.expectedSize;
        const Bytes oneSection = buildSample(record, SampleLayout::OneSection);
        const Bytes noSections = buildSample(record, SampleLayout::NoSections);
        EXPECT_EQ(!oneSection.empty(), testCase.fitsOneSection);
        EXPECT_EQ(!noSections.empty(), testCase.fitsNoSections);
        if (!oneSection.empty()) {
            EXPECT_TRUE(matchesRecord(record, oneSection));
        }
        if (!noSections.empty()) {
            EXPECT_TRUE(matchesRecord(record, noSections));
        }
    }
}

TEST(SampleFiller, NeverSpellsAProbe) {
    for (std::size_t start = 0; start < kFillerPeriod; ++start) {
        std::uint8_t window[kProbeLength];
        for (unsigned i = 0; i < kProbeLength; ++i) window[i] = fillerByte(start + i);
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            SCOPED_TRACE("record " + std::to_string(index + 1) + ", filler from " + std::to_string(start));
            EXPECT_FALSE(std::equal(window, window + kProbeLength, signatureTable[index].probeBytes1));
            EXPECT_FALSE(std::equal(window, window + kProbeLength, signatureTable[index].probeBytes2));
        }
    }
}

}  // namespace
}  // namespace brisko::test
