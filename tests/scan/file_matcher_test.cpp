#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "scan/file_examination.h"
#include "matcher/threat_signature.h"
#include "tests/support/scan_fixture.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using testing::ScanTest;

constexpr const char* kLabel = "W32/Krenot.Trojan ";

std::string bytesOf(const std::vector<std::uint8_t>& image) { return {image.begin(), image.end()}; }

// The first `count` records of the table, closed by an end record.
std::vector<ThreatSignature> firstRecords(unsigned count) {
    std::vector<ThreatSignature> table(signatureTable, signatureTable + count);
    table.push_back(ThreatSignature{});
    return table;
}

class FileMatcherTest : public ScanTest {
protected:
    FileMatcherTest() {
        machine.addDrive('C');
        // Leave infected files in place: the matcher's own effects stay visible.
        scanSession.userAction = kActionLeave;
    }

    int match(const std::string& path, const ThreatSignature* table = signatureTable) {
        return matchFileAgainst(scan, table, kLabel, path.c_str());
    }

    std::string plant(const std::string& path, const ThreatSignature& record,
                      SampleLayout layout = SampleLayout::OneSection, NearMiss miss = NearMiss::None) {
        const std::vector<std::uint8_t> image = buildSample(record, layout, miss);
        if (image.empty()) return {};
        machine.writeFile(path, bytesOf(image));
        return path;
    }
};

TEST_F(FileMatcherTest, EverySignatureIsReportedAtItsOwnPlaceInTheTable) {
    for (unsigned index = 0; index < kSignatureCount; ++index) {
        const ThreatSignature& record = signatureTable[index];
        SCOPED_TRACE(std::to_string(index) + " " + record.name);
        const std::string path = plant("C:\\samples\\" + std::to_string(index) + ".exe", record);
        ASSERT_FALSE(path.empty());
        // No earlier record takes the sample...
        EXPECT_EQ(match(path, firstRecords(index).data()), 0);
        // ...and the whole table names it after this one.
        EXPECT_EQ(match(path), 1);
        EXPECT_STREQ(scanSession.currentThreat, record.name);
    }
    EXPECT_EQ(scanSession.filesInfected, static_cast<std::int32_t>(kSignatureCount));
}

TEST_F(FileMatcherTest, SamplesOfEveryLayoutAreMatched) {
    // One section is every sample of the test above. The full table sits on
    // the matcher's limit of sections; the near misses go one over it.
    for (SampleLayout layout :
         {SampleLayout::SectionsWithHoles, SampleLayout::NoSections, SampleLayout::FullSectionTable}) {
        int planted = 0;
        for (unsigned index = 0; index < kSignatureCount; ++index) {
            SCOPED_TRACE(std::string(layoutName(layout)) + " " + std::to_string(index));
            const std::string path = plant("C:\\layouts\\sample.exe", signatureTable[index], layout);
            if (path.empty()) continue;
            ++planted;
            EXPECT_EQ(match(path), 1);
            EXPECT_STREQ(scanSession.currentThreat, signatureTable[index].name);
        }
        EXPECT_GT(planted, 10) << layoutName(layout);
    }
}

TEST_F(FileMatcherTest, NearMissesAreNotMatched) {
    // The three records given in full, the ends of every range, and a spread.
    std::vector<unsigned> indexes = {0, 4, 120};
    for (unsigned index = 7; index < kSignatureCount; index += 9) indexes.push_back(index);
    for (unsigned index : indexes) {
        for (NearMiss miss : kAllNearMisses) {
            SCOPED_TRACE(std::to_string(index) + " " + nearMissName(miss));
            const std::string path = plant("C:\\misses\\sample.exe", signatureTable[index],
                                           SampleLayout::OneSection, miss);
            if (path.empty()) continue;
            EXPECT_EQ(match(path), 0);
        }
    }
    EXPECT_EQ(scanSession.filesInfected, 0);
    EXPECT_TRUE(eventLog.empty());
    EXPECT_STREQ(scanSession.infectedPath, "");
}

TEST_F(FileMatcherTest, FilesThatAreNoImagesAreSkippedSilently) {
    const std::string valid = bytesOf(buildSample(signatureTable[0]));
    std::string noMark = valid;
    noMark[static_cast<unsigned char>(valid[60]) | static_cast<unsigned char>(valid[61]) << 8] = 'X';
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"61 bytes", std::string(61, 'M')},
        {"text", "This is a text file.\r\nNothing to see.\r\n"},
        {"headers cut short", valid.substr(0, 0x100)},
        {"no PE mark", noMark},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        machine.writeFile("C:\\plain.bin", c.bytes);
        EXPECT_EQ(match("C:\\plain.bin"), 0);
    }
    EXPECT_TRUE(eventLog.empty());
    EXPECT_EQ(scanSession.filesInfected, 0);
}

TEST_F(FileMatcherTest, AFileThatCannotBeOpenedIsSkippedSilently) {
    const std::string path = plant("C:\\locked.exe", signatureTable[3]);
    machine.fakeFiles().failOpening(path);
    EXPECT_EQ(match(path), 0);
    EXPECT_EQ(match("C:\\missing.exe"), 0);
    EXPECT_EQ(match("C:\\"), 0);
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(FileMatcherTest, DetectionCleansAutostartBeforeTreatingTheFile) {
    scanSession.userAction = kActionRemove;
    const std::string path = plant("C:\\dir\\a.exe", signatureTable[4]);
    EXPECT_EQ(match(path), 1);
    EXPECT_THAT(eventLog,
                ElementsAre("autostart: W32/Krenot.Gn.PSW.Trojan", "variant cleanup",
                            "line: C:\\dir\\a.exe     W32/Krenot.Gn.PSW.Trojan removed"));
    // The cleanup saw the infected file's path; afterwards it is cleared.
    EXPECT_THAT(actions.autostartInfectedPaths, ElementsAre(path));
    EXPECT_STREQ(scanSession.infectedPath, "");
    EXPECT_EQ(scanSession.filesInfected, 1);
    EXPECT_EQ(scanSession.filesRemoved, 1);
    EXPECT_STREQ(scanSession.currentItem, path.c_str());
    EXPECT_FALSE(machine.fileExists(path));
}

TEST_F(FileMatcherTest, InTheMemoryScanADetectionIsOnlyReportedBack) {
    scanSession.userAction = kActionRemove;
    scanSession.inMemoryScan = 1;
    const std::string path = plant("C:\\run\\a.exe", signatureTable[120]);
    EXPECT_EQ(match(path), 1);
    EXPECT_EQ(scanSession.foundInMemory, 1);
    EXPECT_EQ(scanSession.filesInfected, 1);
    EXPECT_STREQ(scanSession.currentThreat, "W32/Krenot.Fqc.PSW.Trojan");
    EXPECT_STREQ(scanSession.currentItem, path.c_str());
    EXPECT_THAT(eventLog, ElementsAre("autostart: W32/Krenot.Fqc.PSW.Trojan"));
    EXPECT_TRUE(machine.fileExists(path));
}

TEST_F(FileMatcherTest, DuringTheDisposalWalkTheFileIsTreatedWithoutATest) {
    scanSession.memoryScanAction = kActionRemove;
    machine.writeFile("C:\\run.exe", "not even an image");
    EXPECT_EQ(match("C:\\run.exe"), 0);
    EXPECT_FALSE(machine.fileExists("C:\\run.exe"));
    EXPECT_THAT(reportLines(), ElementsAre("System Memory    W32/Krenot.Trojan  removed",
                                           "C:\\run.exe     W32/Krenot.Trojan  removed"));
}

TEST_F(FileMatcherTest, WithoutAReportWindowTheDisposalWalkMatchesAsUsual) {
    scanSession.reportWindow = 0;
    scanSession.memoryScanAction = kActionRemove;
    const std::string path = plant("C:\\run.exe", signatureTable[9]);
    EXPECT_EQ(match(path), 1);
    EXPECT_EQ(scanSession.filesInfected, 1);
}

TEST_F(FileMatcherTest, RememberedAutostartNameIsClearedOnlyBeforeTheFirstDetection) {
    std::strcpy(scanSession.autostartValueName, "svchost");
    machine.writeFile("C:\\plain.txt", "text");
    match("C:\\plain.txt");
    EXPECT_STREQ(scanSession.autostartValueName, "");

    std::strcpy(scanSession.autostartValueName, "svchost");
    scanSession.filesInfected = 1;
    match("C:\\plain.txt");
    EXPECT_STREQ(scanSession.autostartValueName, "svchost");
}

// A name that fills its field leaves no terminator: it is read up to the
// field's end and no further, and cut to the report's buffer.
TEST_F(FileMatcherTest, ANameFillingItsWholeFieldIsReadNoFurther) {
    ThreatSignature full = signatureTable[7];
    std::memset(full.name, 'N', sizeof full.name);
    EXPECT_EQ(threatNameOf(full), std::string(kThreatNameCapacity, 'N'));

    const ThreatSignature table[] = {full, ThreatSignature{}};
    const std::string path = plant("C:\full.exe", signatureTable[7]);
    EXPECT_EQ(match(path, table), 1);
    EXPECT_EQ(std::string(scanSession.currentThreat), std::string(kThreatNameCapacity - 1, 'N'));
}

TEST_F(FileMatcherTest, TheEarlierOfTwoMatchingRecordsWins) {
    ThreatSignature earlier = signatureTable[30];
    std::strcpy(earlier.name, "W32/Krenot.First.PSW.Trojan");
    const ThreatSignature table[] = {earlier, signatureTable[30], ThreatSignature{}};
    const std::string path = plant("C:\\twice.exe", signatureTable[30]);
    EXPECT_EQ(match(path, table), 1);
    EXPECT_STREQ(scanSession.currentThreat, "W32/Krenot.First.PSW.Trojan");
}

TEST_F(FileMatcherTest, SizeModesDecideWhichLengthsAreProbed) {
    const ThreatSignature& base = signatureTable[12];
    const std::string path = plant("C:\\sized.exe", base);
    struct Case {
        std::int32_t mode;
        std::int32_t sizeDifference;
        int expected;
    };
    const Case cases[] = {
        {kSizeExact, 0, 1},    {kSizeExact, 1, 0},     {kSizeNear, 4095, 1}, {kSizeNear, -4095, 1},
        {kSizeNear, 4096, 0},  {kSizeNear, -4096, 0},  {kSizeAny, 400000, 1}, {0, 0, 0},
        {4, 0, 0},             {-1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + ", off by " + std::to_string(c.sizeDifference));
        ThreatSignature record = base;
        record.sizeMode = c.mode;
        record.expectedSize = base.expectedSize + c.sizeDifference;
        const ThreatSignature table[] = {record, ThreatSignature{}};
        EXPECT_EQ(match(path, table), c.expected);
    }
}

TEST_F(FileMatcherTest, AFileListedWithALengthNoSignatureTakesIsNotOpened) {
    const std::string path = plant("C:\\a.exe", signatureTable[0]);
    const auto listedAs = [&](std::uint64_t length) {
        return matchFile(scan, kWalkThreatLabel, path.c_str(), length);
    };
    EXPECT_EQ(listedAs(static_cast<std::uint64_t>(signatureTable[0].expectedSize) + 7), 0);
    // Without a listed length the file is tested.
    EXPECT_EQ(match(path), 1);
    EXPECT_EQ(listedAs(static_cast<std::uint64_t>(signatureTable[0].expectedSize)), 1);
    EXPECT_EQ(listedAs(std::uint64_t{5} << 32), 0);
}

TEST_F(FileMatcherTest, HostileHeadersNeverLeadOutsideTheFile) {
    // A sample of the smallest record, its headers overwritten with chosen
    // and random values: every read must stay inside its buffer (the
    // sanitizers watch), and the matcher must still answer.
    const ThreatSignature* smallest = &signatureTable[0];
    for (unsigned i = 0; i < kSignatureCount; ++i) {
        if (signatureTable[i].expectedSize < smallest->expectedSize) smallest = &signatureTable[i];
    }
    const std::vector<std::uint8_t> valid = buildSample(*smallest);
    const auto put32 = [](std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    const std::uint32_t header = valid[60] | valid[61] << 8;
    std::vector<std::vector<std::uint8_t>> images;
    for (std::uint32_t value : {0u, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        std::vector<std::uint8_t> image = valid;
        put32(image, header + 24 + 16, value);  // entry point
        images.push_back(image);
        image = valid;
        put32(image, header + 248 + 20, value);  // first section's raw data pointer
        images.push_back(image);
        image = valid;
        put32(image, header + 248 + 8, value);  // first section's virtual size
        images.push_back(image);
        image = valid;
        image[60] = static_cast<std::uint8_t>(value);
        image[61] = static_cast<std::uint8_t>(value >> 8);  // header offset
        images.push_back(image);
    }
    std::mt19937 random(20261209);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> image = valid;
        for (int flips = 0; flips < 8; ++flips) {
            image[header + random() % (248 + 40 * 3)] = static_cast<std::uint8_t>(random());
        }
        images.push_back(image);
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(i);
        machine.writeFile("C:\\hostile.exe", bytesOf(images[i]));
        if (match("C:\\hostile.exe") == 1) {
            EXPECT_STREQ(scanSession.currentThreat, smallest->name);
        }
    }
}

TEST_F(FileMatcherTest, AProbeAtAddressZeroIsReadWhereTheHeadersEnd) {
    // A record whose first probe lands on address 0 holds the bytes found at
    // SizeOfHeaders: it matches only when the matcher reads SizeOfHeaders
    // from its own field of the optional header.
    const ThreatSignature& base = signatureTable[0];
    const std::vector<std::uint8_t> image = buildSample(base);
    const auto read32 = [&](std::size_t at) {
        return std::uint32_t{image[at]} | std::uint32_t{image[at + 1]} << 8 | std::uint32_t{image[at + 2]} << 16 |
               std::uint32_t{image[at + 3]} << 24;
    };
    const std::uint32_t header = image[60] | image[61] << 8;
    const std::uint32_t entryPoint = read32(header + 24 + 16);
    const std::uint32_t sizeOfHeaders = read32(header + 24 + 60);
    ASSERT_LT(sizeOfHeaders + kProbeLength, image.size());
    ThreatSignature record = base;
    record.probeOffset1 = static_cast<std::int32_t>(0u - entryPoint);
    std::memcpy(record.probeBytes1, image.data() + sizeOfHeaders, kProbeLength);
    const ThreatSignature table[] = {record, ThreatSignature{}};
    machine.writeFile("C:\\headers.exe", bytesOf(image));
    EXPECT_EQ(match("C:\\headers.exe", table), 1);
}

TEST(SizeTestTest, ComparesLikeThirtyTwoBitArithmetic) {
    struct Case {
        std::int32_t mode;
        std::int32_t expectedSize;
        std::int32_t fileLength;
        bool passes;
    };
    const Case cases[] = {
        {kSizeExact, 102400, 102400, true},
        {kSizeExact, 102400, 102399, false},
        {kSizeNear, 102400, 102400 + 4095, true},
        {kSizeNear, 102400, 102400 - 4096, false},
        // The difference wraps as 32-bit arithmetic does: to 1, to 11, to -4097.
        {kSizeNear, INT32_MIN, INT32_MAX, true},
        {kSizeNear, INT32_MIN + 10, INT32_MAX, true},
        {kSizeNear, INT32_MAX - 4095, INT32_MIN + 1, false},
        {kSizeAny, 0, INT32_MAX, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.expectedSize) + " " +
                     std::to_string(c.fileLength));
        ThreatSignature record{};
        record.sizeMode = c.mode;
        record.expectedSize = c.expectedSize;
        EXPECT_EQ(sizeTestPasses(record, c.fileLength), c.passes);
    }
}

}  // namespace
}  // namespace brisko
