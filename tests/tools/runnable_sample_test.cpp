// The runnable sample: matched by its record like any sample, and a real
// 64-bit program whose entry point is the code that sleeps (it runs under
// Wine in the Windows contract tests).
#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/pe_test_reader.h"
#include "tools/sample_writer/runnable_sample.h"

namespace brisko {
namespace {

using test::Bytes;

TEST(RunnableSampleTest, EveryRecordThatFitsIsMatchedAndRunsItsCode) {
    unsigned fitting = 0;
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        const ThreatSignature& record = signatureTable[index];
        SCOPED_TRACE(std::to_string(index + 1) + " " + record.name);
        const Bytes sample = buildRunnableSample(record);
        if (sample.empty()) continue;
        ++fitting;
        EXPECT_TRUE(test::matchesRecord(record, sample));
        const std::optional<test::ParsedImage> image = test::parseImage(sample);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->machine, 0x8664);
        EXPECT_EQ(image->optionalMagic, 0x20b);
        EXPECT_EQ(image->sizeOfOptionalHeader, 224);
        EXPECT_EQ(test::readLe32(sample, image->headerOffset + 24 + 108), 14u);  // data directories
        const std::uint32_t entry = test::probeFileOffset(*image, sample.size(), 0);
        ASSERT_LT(entry + 4, sample.size());
        EXPECT_EQ(std::memcmp(&sample[entry], "\x48\x83\xEC\x28", 4), 0);  // sub rsp, 40
    }
    EXPECT_GT(fitting, kSignatureCount / 2);
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
