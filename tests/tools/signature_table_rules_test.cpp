// The rules the committed signature table keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "matcher/threat_signature.h"

namespace brisko {
namespace {

constexpr const char* kExpectedTags[kSignatureCount] = {
    "Ek",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Gn",   "Cu",
    "Eq",   "Cu",   "Bs",   "Dt",   "Am",   "Ez",   "Jp",   "Fr",   "Mq",   "Mq",   "Mq",   "Mq",   "Mq",
    "V",    "Hh",   "V",    "Z",    "V",    "V",    "V",    "Mq",   "Mq",   "Mq",   "V",    "Mq",   "Mq",
    "Mq",   "Mq",   "Hp",   "Lg",   "Mq",   "Mq",   "Nm",   "Nm",   "Nm",   "Nm",   "Nm",   "Nm",   "Nm",
    "Nm",   "Nb",   "Nm",   "Pb",   "Pj",   "Qx",   "Pk",   "Ak",   "Ko",   "Sd",   "Rb",   "Om",   "Ss",
    "Acj",  "Qz",   "Ra",   "Ul",   "Ajs",  "Bch",  "Ael",  "Ahe",  "Pih",  "Pif",  "Ajs",  "Pik",  "Aqk",
    "Bax",  "Phz",  "Bfa",  "Beq",  "Bey",  "Xwn",  "Ysr",  "Gox",  "Qdv",  "Zdj",  "Pwm",  "Aard", "Vyc",
    "Pjs",  "Zbz",  "Qfx",  "Adtc", "Alne", "Ajja", "Amcr", "Agro", "Ajfo", "Albl", "Alug", "Ypf",  "Agmn",
    "Alqb", "Acns", "Alzm", "Reh",  "Alrp", "Agvh", "Agwy", "Alyi", "Aikw", "Alxl", "Amcq", "Abhd", "Alpz",
    "Abhp", "Fgt",  "Fik",  "Fqc",  "Amdp", "Zec",  "Aljt", "Albl",
};

struct KnownRecord {
    unsigned position;  // 1-based
    const char* name;
    std::int32_t probeOffset1;
    const char* probeBytes1;
    std::int32_t probeOffset2;
    const char* probeBytes2;
    std::int32_t expectedSize;
};

constexpr KnownRecord kKnownRecords[] = {
    {1, "W32/Krenot.Ek.PSW.Trojan", -2834, "0000ff155080410033c08bc8c1e10281c1583240", 88513,
     "c5088b0000ce54af8e10ffff00dd8b00c0c30000", 102400},
    {5, "W32/Krenot.Gn.PSW.Trojan", 246, "006a5868eab04000a3cc954100e8dc3700008d86", 90859,
     "684c8241002bc66a008907ffd383c704c745fc03", 95744},
    {121, "W32/Krenot.Fqc.PSW.Trojan", -232051, "eabab23fc33c18421048224f4c7ccd12d55c85bf", 2750,
     "0b83c47c5b5e5f5d0373fc037bf831c08d8c2400", 250880},
};

std::string hexOf(const std::uint8_t (&bytes)[kProbeLength]) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xf];
    }
    return hex;
}

std::string label(unsigned index) { return "record " + std::to_string(index + 1); }

TEST(SignatureTable, EndsWithAnAllZeroRecord) {
    const ThreatSignature zero{};
    EXPECT_EQ(std::memcmp(&signatureTable[kSignatureCount], &zero, sizeof zero), 0);
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(label(index));
        EXPECT_NE(signatureTable[index].name[0], '\0') << "only the end record has an empty name";
    }
}

TEST(SignatureTable, NamesFollowTheTagsInOrder) {
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(label(index));
        const char* name = signatureTable[index].name;
        ASSERT_LT(strnlen(name, kThreatNameCapacity), kThreatNameCapacity) << "name not terminated";
        EXPECT_EQ(std::string(name), std::string("W32/Krenot.") + kExpectedTags[index] + ".PSW.Trojan");
    }
}

TEST(SignatureTable, KnownRecordsAreExact) {
    for (const KnownRecord& known : kKnownRecords) {
        SCOPED_TRACE(label(known.position - 1));
        const ThreatSignature& record = signatureTable[known.position - 1];
        EXPECT_STREQ(record.name, known.name);
        EXPECT_EQ(std::int32_t{record.probeOffset1}, known.probeOffset1);
        EXPECT_EQ(hexOf(record.probeBytes1), known.probeBytes1);
        EXPECT_EQ(std::int32_t{record.probeOffset2}, known.probeOffset2);
        EXPECT_EQ(hexOf(record.probeBytes2), known.probeBytes2);
        EXPECT_EQ(std::int32_t{record.expectedSize}, known.expectedSize);
        EXPECT_EQ(std::int32_t{record.sizeMode}, kSizeExact);
    }
}

TEST(SignatureTable, ValuesSpanTheirRangesEndToEnd) {
    const ThreatSignature* begin = signatureTable;
    const ThreatSignature* end = signatureTable + kSignatureCount;
    const auto [lowest1, highest1] = std::minmax_element(
        begin, end, [](const ThreatSignature& a, const ThreatSignature& b) { return a.probeOffset1 < b.probeOffset1; });
    const auto [lowest2, highest2] = std::minmax_element(
        begin, end, [](const ThreatSignature& a, const ThreatSignature& b) { return a.probeOffset2 < b.probeOffset2; });
    const auto [smallest, largest] = std::minmax_element(
        begin, end, [](const ThreatSignature& a, const ThreatSignature& b) { return a.expectedSize < b.expectedSize; });
    EXPECT_EQ(std::int32_t{lowest1->probeOffset1}, -232051);
    EXPECT_EQ(std::int32_t{highest1->probeOffset1}, 407);
    EXPECT_EQ(std::int32_t{lowest2->probeOffset2}, -18777);
    EXPECT_EQ(std::int32_t{highest2->probeOffset2}, 283255);
    EXPECT_EQ(std::int32_t{smallest->expectedSize}, 12288);
    EXPECT_EQ(std::int32_t{largest->expectedSize}, 518144);
}

TEST(SignatureTable, EveryRecordTestsExactSizeAndEndsItsProbesWithZero) {
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(label(index));
        EXPECT_EQ(std::int32_t{signatureTable[index].sizeMode}, kSizeExact);
        EXPECT_EQ(signatureTable[index].zero1, 0);
        EXPECT_EQ(signatureTable[index].zero2, 0);
    }
}

TEST(SignatureTable, SizesAreDistinctMultiplesOf512) {
    std::set<std::int32_t> sizes;
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(label(index));
        const std::int32_t size = signatureTable[index].expectedSize;  // a copy: the field is unaligned
        EXPECT_EQ(size % 512, 0);
        EXPECT_TRUE(sizes.insert(size).second) << "size used twice";
    }
}

TEST(SignatureTable, ProbesAreIrregularAndDiffer) {
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(label(index));
        const ThreatSignature& record = signatureTable[index];
        for (const std::uint8_t* probe : {record.probeBytes1, record.probeBytes2}) {
            EXPECT_FALSE(std::all_of(probe, probe + kProbeLength, [&](std::uint8_t byte) { return byte == probe[0]; }));
        }
        EXPECT_NE(hexOf(record.probeBytes1), hexOf(record.probeBytes2));
    }
}

// An image of the expected size holds a 512-byte header block, then the
// entry point and both windows, the windows 64 bytes apart or more.
TEST(SignatureTable, ProbesFitInTheExpectedSize) {
    constexpr std::int64_t kHeaderBlock = 512;
    constexpr std::int64_t kMinProbeGap = 64;
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        SCOPED_TRACE(label(index));
        const ThreatSignature& record = signatureTable[index];
        const std::int64_t offset1 = record.probeOffset1;
        const std::int64_t offset2 = record.probeOffset2;
        EXPECT_GE(std::max(offset1, offset2) - std::min(offset1, offset2), kMinProbeGap);
        const std::int64_t first = std::min({offset1, offset2, std::int64_t{0}});
        const std::int64_t last = std::max({offset1 + kProbeLength, offset2 + kProbeLength, std::int64_t{1}});
        EXPECT_LE(kHeaderBlock + (last - first), record.expectedSize);
    }
}

}  // namespace
}  // namespace brisko
