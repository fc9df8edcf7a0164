// Old-format logs: a DIRT vector of 512-byte pages, applied only when the
// log was written for the hive's last state, and only when whole.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "platform/hive/base_block.h"
#include "platform/hive/log_header.h"
#include "platform/hive/old_format_log.h"
#include "tests/hive/case_names.h"
#include "tests/hive/dirty_hive.h"
#include "tests/hive/empty_hive.h"

namespace brisko::testing {
namespace {

namespace hive = brisko::hive;

// Before: an empty hive; after: its bin's second half changed, and a
// second bin added.
Bytes before() { return emptyHiveBytes("ROOT", kHiveVersionXp); }
Bytes after() {
    Bytes bytes = before();
    std::fill(bytes.begin() + 4096 + 2048, bytes.begin() + 4096 + 2560, 0x5A);
    Bytes bin(4096, 0);
    std::copy_n("hbin", 4, bin.begin());
    setField32(bin, 4, 4096);
    setField32(bin, 8, 4096);
    setField32(bin, 32, 4096 - 32);  // one free cell
    bytes.insert(bytes.end(), bin.begin(), bin.end());
    setField32(bytes, hive::kBinsSizeAt, 8192);
    seal(bytes);
    return bytes;
}

struct Case {
    const char* name;
    std::function<void(Bytes&)> change;  // of the log
    hive::OldLogCheck check;
};

// Named in test lists by its name, not its bytes.
std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

const Case kCases[] = {
    {"valid", [](Bytes&) {}, hive::OldLogCheck::kApplied},
    {"written for another state",
     [](Bytes& log) {
         log[hive::kWrittenAtAt] ^= 1;
         seal(log);
     },
     hive::OldLogCheck::kStale},
    {"no DIRT", [](Bytes& log) { log[512] = 'X'; }, hive::OldLogCheck::kNoVector},
    {"cut inside the vector", [](Bytes& log) { log.resize(514); }, hive::OldLogCheck::kNoVector},
    {"fewer pages than bits", [](Bytes& log) { log.resize(log.size() - 512); }, hive::OldLogCheck::kTruncated},
    {"a size not a multiple of 4096",
     [](Bytes& log) {
         setField32(log, hive::kBinsSizeAt, 6000);
         seal(log);
     },
     hive::OldLogCheck::kBadBinsSize},
    {"more growth than its pages",
     [](Bytes& log) {
         // A bitmap long enough for 16 MiB, its new bits clear.
         setField32(log, hive::kBinsSizeAt, 1 << 24);
         seal(log);
         log.insert(log.begin() + 1024, 4096, 0);
     },
     hive::OldLogCheck::kBadBinsSize},
    {"a new bin without its header",
     [](Bytes& log) {
         // The last block written is the new bin.
         std::fill_n(log.end() - 4096, 4, 0);
     },
     hive::OldLogCheck::kBadBin},
};

class OldFormatLogTest : public ::testing::TestWithParam<Case> {};

TEST_P(OldFormatLogTest, AppliesOnlyAWholeLogForTheHivesState) {
    Bytes log = oldFormatLog(before(), after());
    GetParam().change(log);
    const hive::LogBytes view{"HIVE.LOG", log.data(), log.size()};
    const hive::LogHeader header = hive::readLogHeader(view);
    ASSERT_EQ(header.format, hive::LogFormat::kOld);
    Bytes image = before();
    const hive::OldLogCheck check =
        hive::applyOldFormatLog(image, view, header, hive::readLittle64(before().data() + hive::kWrittenAtAt));
    EXPECT_EQ(check, GetParam().check) << hive::describe(check);
    if (check != hive::OldLogCheck::kApplied) {
        EXPECT_EQ(image, before());
        return;
    }
    const Bytes expected = after();
    ASSERT_EQ(image.size(), expected.size());
    EXPECT_TRUE(std::equal(image.begin() + 4096, image.end(), expected.begin() + 4096));
    EXPECT_EQ(field32(image, hive::kBinsSizeAt), 8192u);
}

INSTANTIATE_TEST_SUITE_P(Cases, OldFormatLogTest, ::testing::ValuesIn(kCases),
                         CaseName());

struct HeaderCase {
    const char* name;
    std::function<Bytes()> log;
    hive::LogFormat format;
};

// Named in test lists by its name, not its bytes.
std::ostream& operator<<(std::ostream& out, const HeaderCase& c) { return out << c.name; }

const HeaderCase kHeaders[] = {
    {"empty", [] { return Bytes{}; }, hive::LogFormat::kEmpty},
    {"zeroed", [] { return Bytes(4096, 0); }, hive::LogFormat::kEmpty},
    {"old", [] { return logBaseBlock(before(), hive::kFileTypeOldLog, 3); }, hive::LogFormat::kOld},
    {"very old", [] { return logBaseBlock(before(), hive::kFileTypeVeryOldLog, 3); }, hive::LogFormat::kOld},
    {"new", [] { return logBaseBlock(before(), hive::kFileTypeNewLog, 3); }, hive::LogFormat::kNew},
    {"another type", [] { return logBaseBlock(before(), 5, 3); }, hive::LogFormat::kUnknown},
    {"text", [] { return Bytes(600, 'x'); }, hive::LogFormat::kUnknown},
    {"short",
     [] {
         Bytes log = before();
         log.resize(100);
         return log;
     },
     hive::LogFormat::kUnknown},
    {"a wrong checksum",
     [] {
         Bytes log = logBaseBlock(before(), hive::kFileTypeNewLog, 3);
         log[hive::kWrittenAtAt] ^= 1;
         return log;
     },
     hive::LogFormat::kUnknown},
    {"sequence numbers that differ",
     [] {
         Bytes log = logBaseBlock(before(), hive::kFileTypeNewLog, 3);
         setField32(log, hive::kPrimarySequenceAt, 4);
         seal(log);
         return log;
     },
     hive::LogFormat::kUnknown},
};

class LogHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(LogHeaderTest, TellsTheFormat) {
    const Bytes log = GetParam().log();
    EXPECT_EQ(hive::readLogHeader({"HIVE.LOG1", log.data(), log.size()}).format, GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Cases, LogHeaderTest, ::testing::ValuesIn(kHeaders),
                         CaseName());

}  // namespace
}  // namespace brisko::testing
