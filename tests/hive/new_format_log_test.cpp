// New-format logs: HvLE entries checked (hashes, sizes, pages) and applied
// in sequence order, older entries passed over, replay stopped at the first
// bogus entry or gap, as Windows stops.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/hive/base_block.h"
#include "platform/hive/new_format_log.h"
#include "tests/hive/case_names.h"
#include "tests/hive/dirty_hive.h"
#include "tests/hive/empty_hive.h"

namespace brisko::testing {
namespace {

using ::testing::HasSubstr;
namespace hive = brisko::hive;

constexpr std::uint64_t kLimit = 1 << 20;

Bytes page(std::uint8_t fill, std::size_t size = 4096) { return Bytes(size, fill); }

Bytes hiveBytes() { return emptyHiveBytes("ROOT", kHiveVersionXp); }
Bytes baseBlock(std::uint32_t sequence) { return logBaseBlock(hiveBytes(), hive::kFileTypeNewLog, sequence); }
Bytes entry(std::uint32_t sequence, std::uint8_t fill, std::uint32_t offset = 0, std::uint32_t bins = 4096) {
    return logEntry(sequence, bins, {{offset, page(fill)}});
}

struct Case {
    const char* name;
    std::function<std::vector<Bytes>()> logs;
    unsigned applied;
    std::string stop;             // a part of the reason, or empty
    std::uint8_t firstPageFill;   // the first page of the bins after replay
    std::size_t imageSize = 8192;
    std::uint32_t next = 0;  // the number after the last applied, when not 1 + applied
};

// Named in test lists by its name, not its bytes.
std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

const Case kCases[] = {
    {"one entry", [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1)})}; }, 1, "", 0xA1},
    {"two entries in turn",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1), entry(2, 0xA2)})}; }, 2, "", 0xA2},
    {"the second log goes on where the first ends",
     [] {
         return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1)}),
                                   newFormatLog(baseBlock(2), {entry(2, 0xA2)})};
     },
     2, "", 0xA2},
    {"older entries are in the hive already",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(0), {entry(0, 0xA0), entry(1, 0xA1)})}; }, 1, "", 0xA1},
    {"a stale log alone changes nothing",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(0), {entry(0, 0xA0)})}; }, 0, "", 0},
    {"a gap stops replay",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(3, 0xA3)})}; }, 0, "entry 3 where 1 was due", 0},
    {"a first entry past its log's number is a gap",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(2), {entry(3, 0xA3)})}; }, 0, "entry 3 where 1 was due", 0},
    {"after a partial reconcile the older log starts the sequence",
     [] {
         // The hive says 1; its data is as of entry 5, the log reused since
         // holds 5 and 6, the other log 7.
         return std::vector<Bytes>{newFormatLog(baseBlock(5), {entry(5, 0xA5), entry(6, 0xA6)}),
                                   newFormatLog(baseBlock(7), {entry(7, 0xA7)})};
     },
     3, "", 0xA7, 8192, 8},
    {"a gap after the first entry",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1), entry(3, 0xA3)})}; }, 1,
     "entry 3 where 2 was due", 0xA1},
    {"a wrong Hash-1",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1)});
         log[512 + 40 + 8 + 100] ^= 1;  // a byte of the page
         return std::vector<Bytes>{log};
     },
     0, "a wrong hash", 0},
    {"a wrong Hash-2",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1)});
         log[512 + 8] ^= 1;  // the flags, which Hash-2 covers
         return std::vector<Bytes>{log};
     },
     0, "a wrong hash", 0},
    {"a bogus entry stops replay after the good ones",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1), entry(2, 0xA2)});
         log[log.size() - 1] ^= 1;
         return std::vector<Bytes>{log, newFormatLog(baseBlock(3), {entry(3, 0xA3)})};
     },
     1, "a wrong hash", 0xA1},
    {"a size not a multiple of 512",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1)});
         setField32(log, 512 + 4, 1000);
         return std::vector<Bytes>{log};
     },
     0, "a wrong size", 0},
    {"a hive bins data size not a multiple of 4096",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {logEntry(1, 5000, {{0, page(0xA1)}})});
         return std::vector<Bytes>{log};
     },
     0, "a wrong hive bins data size", 0},
    {"a hive bins data size past the limit",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1, 0, 2 << 20)})}; }, 0,
     "a wrong hive bins data size", 0},
    {"a page past the hive bins data",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1, 4096, 4096)})}; }, 0,
     "pages outside", 0},
    {"a page larger than the entry",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1)});
         setField32(log, 512 + 44, 8192);
         rehash(log, 512);
         return std::vector<Bytes>{log};
     },
     0, "pages outside", 0},
    {"no pages",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {logEntry(1, 4096, {})})}; }, 0, "pages outside", 0},
    {"cut short",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1), entry(2, 0xA2)});
         log.resize(log.size() - 100);
         return std::vector<Bytes>{log};
     },
     1, "cut short", 0xA1},
    {"cut inside the header",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1)});
         log.resize(512 + 20);
         return std::vector<Bytes>{log};
     },
     0, "cut short", 0},
    {"garbage after the entries ends the log",
     [] {
         Bytes log = newFormatLog(baseBlock(1), {entry(1, 0xA1)});
         log.insert(log.end(), 1000, 0x5A);
         return std::vector<Bytes>{log};
     },
     1, "", 0xA1},
    {"the hive grows by an entry",
     [] { return std::vector<Bytes>{newFormatLog(baseBlock(1), {entry(1, 0xA1, 4096, 8192)})}; }, 1, "", 0, 12288},
};

class NewFormatLogTest : public ::testing::TestWithParam<Case> {};

TEST_P(NewFormatLogTest, ReplaysAsWindowsWould) {
    const std::vector<Bytes> logs = GetParam().logs();
    std::vector<hive::LogBytes> views;
    for (std::size_t i = 0; i < logs.size(); ++i) {
        views.push_back({"HIVE.LOG" + std::to_string(i + 1), logs[i].data(), logs[i].size()});
    }
    Bytes image = hiveBytes();
    const Bytes before = image;
    const hive::NewFormatReplay replay = hive::applyNewFormatLogs(image, views, 1, kLimit);
    EXPECT_EQ(replay.applied, GetParam().applied);
    EXPECT_EQ(replay.next, GetParam().next == 0 ? 1 + GetParam().applied : GetParam().next);
    if (GetParam().stop.empty()) {
        EXPECT_EQ(replay.stop, "");
    } else {
        EXPECT_THAT(replay.stop, HasSubstr(GetParam().stop));
    }
    ASSERT_EQ(image.size(), GetParam().imageSize);
    if (GetParam().applied == 0) {
        EXPECT_EQ(image, before);
        return;
    }
    if (GetParam().firstPageFill != 0) {
        EXPECT_EQ(image[4096 + 100], GetParam().firstPageFill);
    }
    EXPECT_EQ(field32(image, hive::kBinsSizeAt), GetParam().imageSize - 4096);
    EXPECT_EQ(field32(image, hive::kPrimarySequenceAt), replay.next - 1);
    EXPECT_EQ(field32(image, hive::kSecondarySequenceAt), replay.next - 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, NewFormatLogTest, ::testing::ValuesIn(kCases),
                         CaseName());

TEST(NewFormatLog, TheHighestSequenceCountsEveryEntryHeaderAndTheBaseBlock) {
    Bytes log = newFormatLog(baseBlock(4), {entry(4, 1), entry(5, 2)});
    Bytes stale = entry(9, 3);
    stale[600] ^= 1;  // a bogus old entry still counts
    log.insert(log.end(), stale.begin(), stale.end());
    EXPECT_EQ(hive::highestLogSequence({"L", log.data(), log.size()}), 9u);
    const Bytes bare = baseBlock(7);
    EXPECT_EQ(hive::highestLogSequence({"L", bare.data(), bare.size()}), 7u);
}

}  // namespace
}  // namespace brisko::testing
