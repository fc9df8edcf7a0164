#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cleanup/hosts_check.h"
#include "cleanup/hosts_pattern.h"
#include "tests/support/hosts_texts.h"
#include "scan/hosts_treatment.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using testing::ScanTest;

constexpr const char* kHosts = "C:\\WINDOWS\\hosts";

// The pattern with a run of whitespace after each of its bytes.
std::string spreadOut(const std::string& pattern, const std::string& gap) {
    std::string spread;
    for (char c : pattern) spread += std::string(1, c) + gap;
    return spread;
}

class HostsCheckTest : public ScanTest {
protected:
    HostsCheckTest() : ScanTest(testing::kStandInForMemoryScan) {
        machine.addDrive('C');
        scanSession.userAction = kActionLeave;
    }

    int check(const std::string& content) {
        machine.writeFile(kHosts, content);
        return checkHostsFile(scan, kHosts);
    }
};

TEST_F(HostsCheckTest, ThePlainPatternIsTheSameAtEveryCallAndHasNoWhitespace) {
    const std::string pattern = testing::plainHostsPatternText();
    ASSERT_EQ(pattern.size(), 100u);
    EXPECT_EQ(pattern.find_first_of(" \t\r\n\v\f"), std::string::npos);
    EXPECT_EQ(testing::plainHostsPatternText(), pattern);
}

TEST_F(HostsCheckTest, MatchesOnlyFilesThatBeginWithBeginAndHoldThePatternEarly) {
    const std::string pattern = testing::plainHostsPatternText();
    struct Case {
        const char* what;
        std::string content;
        int matches;
    };
    const Case cases[] = {
        {"an ordinary hosts file", "# hosts\r\n127.0.0.1       localhost\r\n" + pattern, 0},
        {"begin, then the pattern", "begin 644 hosts\n" + pattern + "\n`\nend\n", 1},
        {"BEGIN in capitals", "BEGIN\n" + pattern, 1},
        {"begin in mixed case", "BeGiN" + pattern, 1},
        {"a blank before begin", " begin\n" + pattern, 0},
        {"pattern bytes apart, whitespace between", "begin\n" + spreadOut(pattern, " \t\r\n\v\f"), 1},
        {"pattern missing its last byte", "begin\n" + pattern.substr(0, 99), 0},
        {"pattern with one byte changed", "begin\n" + pattern.substr(0, 50) + "#" + pattern.substr(51), 0},
        {"shorter than the pattern", "begin", 0},
        {"pattern ending on the 4096th byte", "begin" + std::string(4096 - 5 - 100, '\n') + pattern, 1},
        {"pattern ending one byte later", "begin" + std::string(4096 - 5 - 99, '\n') + pattern, 0},
        {"pattern beyond the first 4096 bytes", "begin" + std::string(5000, ' ') + pattern, 0},
        {"empty file", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scanSession.filesInfected = 0;
        EXPECT_EQ(check(c.content), c.matches);
        EXPECT_EQ(scanSession.filesInfected, c.matches);
    }
}

TEST_F(HostsCheckTest, AMissingFileIsNoMatchAndNoLine) {
    EXPECT_EQ(checkHostsFile(scan, kHosts), 0);
    EXPECT_TRUE(eventLog.empty());
}

TEST_F(HostsCheckTest, TreatsAMatchByTheUserAction) {
    const std::string infected = "begin 600 hosts\n" + testing::plainHostsPatternText() + "\n";
    struct Case {
        std::int32_t action;
        bool held;
        std::vector<std::string> events;
        bool stays;
        const char* renamedTo;
    };
    const Case cases[] = {
        {kActionRemove, false, {"line: C:\\WINDOWS\\hosts     W32/Pelto.Worm removed"}, false, nullptr},
        {kActionRemoveToo, true, {"line: C:\\WINDOWS\\hosts     W32/Pelto.Worm Remove failed"}, true, nullptr},
        {kActionLeave, false,
         {"line: C:\\WINDOWS\\hosts     W32/Pelto.Worm Not Disinfected As Per User's Selection"}, true, nullptr},
        {0, false, {}, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        resetRecords();
        machine.writeFile(kHosts, infected);
        if (c.held) machine.runProgramHolding(kHosts);
        scanSession.userAction = c.action;
        EXPECT_EQ(checkHostsFile(scan, kHosts), 1);
        EXPECT_EQ(eventLog, c.events);
        EXPECT_EQ(machine.fileExists(kHosts), c.stays);
        EXPECT_STREQ(scanSession.currentThreat, "W32/Pelto.Worm");
        EXPECT_STREQ(scanSession.currentItem, kHosts);
    }
    EXPECT_EQ(scanSession.filesInfected, 4);
    EXPECT_EQ(scanSession.filesRemoved, 1);
}

TEST_F(HostsCheckTest, ADeletedHostsFileTakesTheVariantsEntriesWithIt) {
    const std::string uninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
    machine.fakeRegistry().setString(uninstallKey, "UninstallString", "C:\\WINDOWS\\uninstall.exe");
    machine.writeFile(kHosts, "begin\n" + testing::plainHostsPatternText());
    scanSession.userAction = kActionRemove;
    EXPECT_EQ(checkHostsFile(scan, kHosts), 1);
    EXPECT_FALSE(machine.fakeRegistry().value(uninstallKey, "UninstallString").has_value());
}

TEST_F(HostsCheckTest, RenameUsesTheRenameRuleOfInfectedFiles) {
    machine.writeFile("C:\\WINDOWS\\hosts.sam", "begin\n" + testing::plainHostsPatternText());
    scanSession.userAction = kActionRename;
    EXPECT_EQ(checkHostsFile(scan, "C:\\WINDOWS\\hosts.sam"), 1);
    EXPECT_TRUE(machine.fileExists("C:\\WINDOWS\\hosts.Vam"));
    EXPECT_THAT(reportLines(), ElementsAre("C:\\WINDOWS\\hosts.sam     W32/Pelto.Worm renamed"));
    EXPECT_EQ(scanSession.filesRenamed, 1);
}

// The table's other modes: a fixed position in the compacted head or tail,
// and the size conditions. The built-in record uses none of them.
class HostsPatternModesTest : public HostsCheckTest {
protected:
    HostsPattern& record() { return table_[0]; }

    // The verdict on the content by the test's own table.
    int check(const std::string& content) {
        machine.writeFile(kHosts, content);
        HostsThreatName threatName;
        return findHostsInfection(kHosts, threatName, table_) ? 1 : 0;
    }

private:
    HostsPatternTable table_ = plainHostsPatterns();
};

TEST_F(HostsPatternModesTest, FixedPositionsCountInCompactedBytes) {
    const std::string pattern = testing::plainHostsPatternText();
    // Compacted, "begin" + "xx" puts the pattern at offset 7 of the head.
    const std::string content = "begin x x\n" + pattern + "yyyyy";
    struct Case {
        std::int16_t part;
        std::int16_t offset;
        int matches;
    };
    const Case cases[] = {
        {kCompactedHead, 7, 1}, {kCompactedHead, 6, 0}, {kCompactedHead, 8, 0},
        // From the end: 105 bytes back is the pattern's start.
        {kCompactedTail, 105, 1}, {kCompactedTail, 104, 0},
        // Further back than the tail holds: nothing to compare.
        {kCompactedTail, 500, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.part) + "@" + std::to_string(c.offset));
        record().searchMode = 0;
        record().part = c.part;
        record().patternOffset = c.offset;
        EXPECT_EQ(check(content), c.matches);
    }
}

// The limits on both sides: a tail position exactly as far back as the
// compaction is long, and a file exactly as long as the pattern.
TEST_F(HostsPatternModesTest, ThePatternMayFillTheTailOrTheWholeFile) {
    // Compacted, the file is "begin" and 100 more bytes; the record looks
    // for its first 100 bytes.
    const std::string content = "begin\n" + testing::plainHostsPatternText();
    const std::string compacted = "begin" + testing::plainHostsPatternText();
    std::memcpy(record().pattern, compacted.data(), kHostsPatternCapacity);
    record().patternLength = kHostsPatternCapacity;
    record().searchMode = 0;
    record().part = kCompactedTail;
    struct Case {
        std::string content;
        std::int16_t offset;
        int matches;
    };
    const Case cases[] = {
        {content, 105, 1},  // the whole compaction: from its first byte
        {content, 106, 0},  // one further back than it holds
        {content, 104, 0},
        // A file of exactly the pattern's 100 bytes holds it; one byte
        // shorter cannot.
        {compacted.substr(0, 100), 100, 1},
        {compacted.substr(0, 99), 99, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.content.size()) + " bytes, " + std::to_string(c.offset) + " back");
        record().patternOffset = c.offset;
        EXPECT_EQ(check(c.content), c.matches);
    }
}

TEST_F(HostsPatternModesTest, SizeKindsCompareWithAReferenceSizeOfZero) {
    const std::string content = "begin\n" + testing::plainHostsPatternText();
    struct Case {
        std::int16_t kind;
        std::int32_t expectedSize;
        int matches;
    };
    const Case cases[] = {
        {kSizeEqual, 0, 1}, {kSizeEqual, 134042, 0}, {kSizeWithin4096, 4096, 1},
        {kSizeWithin4096, -4096, 1}, {kSizeWithin4096, 4097, 0}, {18, 134042, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.expectedSize));
        record().sizeKind = c.kind;
        record().expectedSize = c.expectedSize;
        EXPECT_EQ(check(content), c.matches);
    }
}

TEST_F(HostsPatternModesTest, ADisabledOrOversizedRecordNeverMatches) {
    const std::string content = "begin\n" + testing::plainHostsPatternText();
    for (std::uint16_t length : {std::uint16_t{0}, std::uint16_t{101}, std::uint16_t{65535}}) {
        SCOPED_TRACE(length);
        record().patternLength = length;
        EXPECT_EQ(check(content), 0);
    }
}

}  // namespace
}  // namespace brisko
