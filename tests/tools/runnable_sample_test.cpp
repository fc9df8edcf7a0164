// The runnable sample: matched by its record like any sample, and a real
// 64-bit or 32-bit program whose entry point is the code that sleeps (it
// runs under Wine in the Windows contract tests).
#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/pe_test_reader.h"
#include "tools/sample_writer/runnable_sample.h"

namespace brisko {
namespace {

using test::Bytes;

struct MachineCase {
    const char* name;
    RunnableMachine machine;
    std::uint16_t machineField;
    std::uint16_t optionalMagic;
    // Where the number of data directories stands in the optional header,
    // and the number.
    std::uint32_t directoriesAt;
    std::uint32_t directories;
    // The image base, where the loader must put an image without
    // relocations, and where it stands.
    std::uint32_t imageBaseAt;
    std::uint64_t imageBase;
    const char* firstCode;  // the entry point's first bytes
};
const MachineCase kMachines[] = {
    {"x86-64", RunnableMachine::kX86_64, 0x8664, 0x20b, 108, 14, 24, 0x140000000, "\x48\x83\xEC\x28"},
    {"i386", RunnableMachine::kI386, 0x014C, 0x10b, 92, 16, 28, 0x400000, "\x6A\xFF\xFF\x15"},
};

TEST(RunnableSampleTest, EveryRecordThatFitsIsMatchedAndRunsItsCode) {
    for (const MachineCase& m : kMachines) {
        SCOPED_TRACE(m.name);
        unsigned fitting = 0;
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            const ThreatSignature& record = signatureTable[index];
            SCOPED_TRACE(std::to_string(index + 1) + " " + record.name);
            const Bytes sample = buildRunnableSample(record, m.machine);
            if (sample.empty()) continue;
            ++fitting;
            EXPECT_TRUE(test::matchesRecord(record, sample));
            const std::optional<test::ParsedImage> image = test::parseImage(sample);
            ASSERT_TRUE(image.has_value());
            EXPECT_EQ(image->machine, m.machineField);
            EXPECT_EQ(image->optionalMagic, m.optionalMagic);
            EXPECT_EQ(image->sizeOfOptionalHeader, 224);
            const std::uint32_t optional = image->headerOffset + 24;
            EXPECT_EQ(test::readLe32(sample, optional + m.directoriesAt), m.directories);
            const std::uint64_t base = m.imageBase > 0xFFFFFFFFu
                                           ? test::readLe32(sample, optional + m.imageBaseAt) |
                                                 std::uint64_t{test::readLe32(sample, optional + m.imageBaseAt + 4)}
                                                     << 32
                                           : test::readLe32(sample, optional + m.imageBaseAt);
            EXPECT_EQ(base, m.imageBase);
            // The import directory names the descriptors at the section's start.
            EXPECT_EQ(test::readLe32(sample, optional + m.directoriesAt + 4 + 8), 0x1000u);
            const std::uint32_t entry = test::probeFileOffset(*image, sample.size(), 0);
            ASSERT_LT(entry + 4, sample.size());
            EXPECT_EQ(std::memcmp(&sample[entry], m.firstCode, 4), 0);
        }
        EXPECT_GT(fitting, kSignatureCount / 2);
    }
}

// The 32-bit code calls Sleep through its address-table entry by address:
// the image base plus the entry's address, 0x1038.
TEST(RunnableSampleTest, TheThirtyTwoBitCodeCallsSleepThroughItsAddressTable) {
    unsigned index = 0;
    while (buildRunnableSample(signatureTable[index], RunnableMachine::kI386).empty()) ++index;
    const Bytes sample = buildRunnableSample(signatureTable[index], RunnableMachine::kI386);
    const std::optional<test::ParsedImage> image = test::parseImage(sample);
    ASSERT_TRUE(image.has_value());
    const std::uint32_t entry = test::probeFileOffset(*image, sample.size(), 0);
    EXPECT_EQ(test::readLe32(sample, entry + 4), 0x400000u + 0x1038u);
    EXPECT_EQ(sample[entry + 8], 0xEB);  // jmp back to the entry point
    EXPECT_EQ(sample[entry + 9], 0xF6);
    // The address table's entry names Sleep's hint and name, 4 bytes wide.
    const std::uint32_t table = 0x1038 - 0x1000 + 0x200;
    EXPECT_EQ(test::readLe32(sample, table), 0x1048u);
    EXPECT_EQ(test::readLe32(sample, table + 4), 0u);
    EXPECT_EQ(std::memcmp(&sample[0x1048 - 0x1000 + 0x200 + 2], "Sleep", 6), 0);
}

TEST(RunnableSampleTest, ProbesThatWouldOverwriteTheCodeDoNotFit) {
    ThreatSignature record = signatureTable[0];
    record.expectedSize = 0x10000;
    record.probeOffset1 = -20;
    record.probeOffset2 = 4000;
    ASSERT_FALSE(buildRunnableSample(record).empty());
    record.probeOffset1 = 17;
    ASSERT_FALSE(buildRunnableSample(record).empty());
    for (std::int32_t offset : {-19, 0, 16}) {
        SCOPED_TRACE(offset);
        record.probeOffset1 = offset;
        record.probeOffset2 = 4000;
        EXPECT_TRUE(buildRunnableSample(record).empty());
    }
    record.probeOffset1 = 17;
    record.probeOffset2 = 30;  // the two windows overlap
    EXPECT_TRUE(buildRunnableSample(record).empty());
}

}  // namespace
}  // namespace brisko
