#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "matcher/probe_offset.h"

namespace brisko {
namespace {

TEST(ProbeOffsetTest, ResolvesThroughTheSectionTable) {
    struct Case {
        const char* what;
        std::vector<SectionPlacement> sections;
        std::uint32_t fileLength;
        std::uint32_t address;
        std::uint32_t expected;
    };
    // Sections as {VirtualSize, VirtualAddress, PointerToRawData}; SizeOfHeaders is 0x400.
    const std::vector<SectionPlacement> two = {{0x1000, 0x1000, 0x400}, {0x3000, 0x4000, 0x1400}};
    const std::vector<SectionPlacement> adjacent = {{0x1000, 0x1000, 0x400}, {0x1000, 0x2000, 0x3000}};
    const std::vector<SectionPlacement> wide = {{0x10000, 0x1000, 0x400}};
    const Case cases[] = {
        {"inside the first section", two, 0x10000, 0x1010, 0x410},
        {"inside the second section", two, 0x10000, 0x4020, 0x1420},
        {"in the gap: the second section ends above it", two, 0x10000, 0x3000, 0x400},
        {"below the first section: wraps past the file, so the address", two, 0x10000, 0x0800, 0x0800},
        {"below the section's start, still that section", {{0x1000, 0x1000, 0x2000}}, 0x10000, 0x0800, 0x1800},
        {"beyond every section: the last one", two, 0x10000, 0x8000, 0x5400},
        {"resolved past the end of the file: the address", two, 0x5000, 0x9000, 0x9000},
        {"no sections: the address", {}, 0x10000, 0x1234, 0x1234},
        {"offset 0: SizeOfHeaders", {}, 0x10000, 0, 0x400},
        {"resolves to 0: SizeOfHeaders", {{0x1000, 0x1000, 0}}, 0x10000, 0x1000, 0x400},
        {"a section whose end wraps past 4 GiB takes low addresses", {{0x2000, 0xFFFFF000, 0x400}}, 0x10000,
         0x500, 0x500 - 0xFFFFF000u + 0x400},
        // Each comparison on its boundary and on both sides of it. Two
        // sections side by side in memory, apart in the file, so that
        // taking the wrong one gives another offset.
        {"a section's last byte: that section", adjacent, 0x10000, 0x1FFF, 0x13FF},
        {"exactly a section's end: the next one", adjacent, 0x10000, 0x2000, 0x3000},
        {"one past a section's end: the next one", adjacent, 0x10000, 0x2001, 0x3001},
        {"resolved to the file's last byte: kept", wide, 0x5000, 0x5BFF, 0x4FFF},
        {"resolved exactly to the file's end: the address", wide, 0x5000, 0x5C00, 0x5C00},
        {"resolved one past the file's end: the address", wide, 0x5000, 0x5C01, 0x5C01},
        {"offset 1: kept", {}, 0x10000, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(resolveProbeOffset(c.sections.data(), static_cast<unsigned>(c.sections.size()), 0x400,
                                     c.fileLength, c.address),
                  c.expected);
    }
}

}  // namespace
}  // namespace brisko
