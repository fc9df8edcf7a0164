// The open/replay decision: a clean hive as it stands, a dirty one replayed
// from the log that continues it (new or old format, a damaged base block
// recovered from the log's copy), and a dirty one whose logs cannot be
// replayed safely left unreplayed, with the reason.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/hive/base_block.h"
#include "platform/hive/hive_replay.h"
#include "tests/hive/case_names.h"
#include "tests/hive/dirty_hive.h"
#include "tests/hive/hive_builder.h"
#include "tests/support/temporary_folder.h"

namespace brisko::testing {
namespace {

using ::testing::HasSubstr;
namespace hive = brisko::hive;

constexpr const char* kRun = "Microsoft\\Windows\\CurrentVersion\\Run";

HiveStates states(const std::string& name) {
    TemporaryFolder folder("brisko-replay");
    return buildStates(
        folder.path() / "HIVE", name, [](HiveBuilder& hive) { hive.setString(kRun, "Other", "ok.exe"); },
        [](HiveBuilder& hive) {
            hive.setString(kRun, "Updater", "evil.exe").setValue("Tools\\Kept", "Blob", 3, Bytes(9000, 0x42));
        });
}

struct Files {
    Bytes hive;
    std::vector<std::pair<std::string, Bytes>> logs;
};

enum class Bins { kBefore, kAfter, kNone };

struct Case {
    const char* name;
    std::function<Files(const HiveStates&)> files;
    hive::HiveLogState state;
    std::string text;
    Bins bins = Bins::kNone;     // what a replayed image's bins hold
    bool readable = true;        // kNotReplayable: its own base block valid
};

// Named in test lists by its name, not its bytes.
std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

Bytes damaged(Bytes hive) {
    setField32(hive, hive::kChecksumAt, field32(hive, hive::kChecksumAt) ^ 0x10);
    return hive;
}

const Case kCases[] = {
    {"clean, its logs ignored",
     [](const HiveStates& s) { return Files{s.before, {{"HIVE.LOG1", newFormatLogFor(s)}}}; },
     hive::HiveLogState::kClean, ""},
    {"dirty, replayed from LOG1",
     [](const HiveStates& s) { return Files{dirtied(s.before), {{"HIVE.LOG1", newFormatLogFor(s)}}}; },
     hive::HiveLogState::kReplayed, "1 log entry replayed from HIVE.LOG1", Bins::kAfter},
    {"dirty, replayed from LOG2 beside an empty LOG1",
     [](const HiveStates& s) {
         return Files{dirtied(s.before),
                      {{"HIVE.LOG", {}}, {"HIVE.LOG1", Bytes(1024, 0)}, {"HIVE.LOG2", newFormatLogFor(s)}}};
     },
     hive::HiveLogState::kReplayed, "replayed from HIVE.LOG2", Bins::kAfter},
    {"dirty, replayed from an old-format LOG",
     [](const HiveStates& s) { return Files{dirtied(s.before), {{"HIVE.LOG", oldFormatLog(s.before, s.after)}}}; },
     hive::HiveLogState::kReplayed, "replayed from HIVE.LOG", Bins::kAfter},
    {"dirty, replayed from an old-format LOG1",
     [](const HiveStates& s) {
         return Files{dirtied(s.before), {{"HIVE.LOG", {}}, {"HIVE.LOG1", oldFormatLog(s.before, s.after)}}};
     },
     hive::HiveLogState::kReplayed, "replayed from HIVE.LOG1", Bins::kAfter},
    {"a damaged base block recovered from a new-format log",
     [](const HiveStates& s) { return Files{damaged(dirtied(s.before)), {{"HIVE.LOG1", newFormatLogFor(s)}}}; },
     hive::HiveLogState::kReplayed, "1 log entry replayed", Bins::kAfter},
    {"a damaged base block recovered from an old-format log",
     [](const HiveStates& s) { return Files{damaged(s.before), {{"HIVE.LOG", oldFormatLog(s.before, s.after)}}}; },
     hive::HiveLogState::kReplayed, "replayed from HIVE.LOG", Bins::kAfter},
    {"a stale new-format log: nothing to replay",
     [](const HiveStates& s) {
         Bytes hive = dirtied(s.before);
         setField32(hive, hive::kPrimarySequenceAt, 9);
         setField32(hive, hive::kSecondarySequenceAt, 8);
         seal(hive);
         return Files{hive, {{"HIVE.LOG1", newFormatLogFor(s)}}};
     },
     hive::HiveLogState::kReplayed, "0 log entries replayed", Bins::kBefore},
    {"after a partial reconcile, replayed from the earliest log's first entry",
     [](const HiveStates& s) {
         // The hive still says 2; its logs were reused from entry 7 on.
         Bytes log = newFormatLog(logBaseBlock(s.before, hive::kFileTypeNewLog, 7),
                                  {logEntry(7, field32(s.after, hive::kBinsSizeAt), changedPages(s.before, s.after, 4096))});
         return Files{dirtied(s.before), {{"HIVE.LOG1", log}}};
     },
     hive::HiveLogState::kReplayed, "1 log entry replayed from HIVE.LOG1", Bins::kAfter},
    {"a bogus entry: replay stops before it",
     [](const HiveStates& s) {
         Bytes log = newFormatLogFor(s);
         log[log.size() - 1] ^= 1;
         return Files{dirtied(s.before), {{"HIVE.LOG1", log}}};
     },
     hive::HiveLogState::kReplayed, "replay stopped: HIVE.LOG1: the entry at offset 512: a wrong hash", Bins::kBefore},
    {"a log written for another hive",
     [](const HiveStates& s) {
         HiveStates other = s;
         nameHive(other.before, "OTHER");
         return Files{dirtied(s.before), {{"HIVE.LOG1", newFormatLogFor(other)}}};
     },
     hive::HiveLogState::kNotReplayable, "HIVE.LOG1: written for another hive"},
    {"an old-format log written for another hive",
     [](const HiveStates& s) {
         HiveStates other = s;
         nameHive(other.after, "OTHER");
         return Files{dirtied(s.before), {{"HIVE.LOG", oldFormatLog(other.before, other.after)}}};
     },
     hive::HiveLogState::kNotReplayable, "HIVE.LOG: written for another hive"},
    {"another hive's stale log beside the right one is passed over",
     [](const HiveStates& s) {
         HiveStates other = s;
         nameHive(other.before, "OTHER");
         Bytes stale = newFormatLogFor(other);
         setField32(stale, hive::kPrimarySequenceAt, 1);
         setField32(stale, hive::kSecondarySequenceAt, 1);
         seal(stale);
         setField32(stale, 512 + 12, 1);
         rehash(stale, 512);
         return Files{dirtied(s.before), {{"HIVE.LOG1", newFormatLogFor(s)}, {"HIVE.LOG2", stale}}};
     },
     hive::HiveLogState::kReplayed, "1 log entry replayed from HIVE.LOG1", Bins::kAfter},
    {"a log of an unknown format",
     [](const HiveStates& s) {
         Bytes log = newFormatLogFor(s);
         setField32(log, hive::kFileTypeAt, 4);
         seal(log);
         return Files{dirtied(s.before), {{"HIVE.LOG1", log}}};
     },
     hive::HiveLogState::kNotReplayable, "HIVE.LOG1: a log of an unknown format"},
    {"not a log at all",
     [](const HiveStates& s) { return Files{dirtied(s.before), {{"HIVE.LOG1", Bytes(2048, 'x')}}}; },
     hive::HiveLogState::kNotReplayable, "HIVE.LOG1: not a transaction log"},
    {"no log",
     [](const HiveStates& s) { return Files{dirtied(s.before), {}}; },
     hive::HiveLogState::kNotReplayable, "no transaction log beside it holds its changes"},
    {"empty logs only",
     [](const HiveStates& s) { return Files{dirtied(s.before), {{"HIVE.LOG1", {}}, {"HIVE.LOG2", Bytes(512, 0)}}}; },
     hive::HiveLogState::kNotReplayable, "no transaction log beside it holds its changes"},
    {"an old-format log for another state of the hive",
     [](const HiveStates& s) {
         Bytes log = oldFormatLog(s.before, s.after);
         log[hive::kWrittenAtAt] ^= 1;
         seal(log);
         return Files{dirtied(s.before), {{"HIVE.LOG", log}}};
     },
     hive::HiveLogState::kNotReplayable, "none of its logs (HIVE.LOG) was written for its last state"},
    {"no valid base block anywhere",
     [](const HiveStates& s) { return Files{damaged(s.before), {}}; },
     hive::HiveLogState::kNotReplayable, "a damaged base block, and no transaction log", Bins::kNone, false},
    {"a damaged base block and a damaged log",
     [](const HiveStates& s) {
         Bytes log = newFormatLogFor(s);
         log[20] ^= 1;
         return Files{damaged(s.before), {{"HIVE.LOG1", log}}};
     },
     hive::HiveLogState::kNotReplayable, "its base block fails its checksum", Bins::kNone, false},
};

class HiveReplayTest : public ::testing::TestWithParam<Case> {};

TEST_P(HiveReplayTest, DecidesAsWindowsWould) {
    const HiveStates s = states("HIVE");
    const Files files = GetParam().files(s);
    std::vector<hive::LogBytes> logs;
    for (const auto& [name, bytes] : files.logs) logs.push_back({name, bytes.data(), bytes.size()});
    const hive::HiveReplay replay = hive::replayHive(files.hive, logs);
    ASSERT_EQ(replay.state, GetParam().state) << replay.text;
    if (GetParam().state == hive::HiveLogState::kClean) return;
    EXPECT_THAT(replay.text, HasSubstr(GetParam().text));
    if (GetParam().state == hive::HiveLogState::kNotReplayable) {
        EXPECT_TRUE(replay.image.empty());
        EXPECT_EQ(replay.readableAsItStands, GetParam().readable);
        return;
    }
    const Bytes& expected = GetParam().bins == Bins::kAfter ? s.after : s.before;
    const std::size_t size = 4096 + field32(expected, hive::kBinsSizeAt);
    ASSERT_EQ(replay.image.size(), size);
    EXPECT_TRUE(std::equal(replay.image.begin() + 4096, replay.image.end(), expected.begin() + 4096));
    EXPECT_EQ(field32(replay.image, hive::kPrimarySequenceAt), field32(replay.image, hive::kSecondarySequenceAt));
    EXPECT_TRUE(hive::baseBlockValid(replay.image.data()));
    EXPECT_EQ(field32(replay.image, hive::kFileTypeAt), hive::kFileTypePrimary);
    EXPECT_EQ(field32(replay.image, hive::kBinsSizeAt), size - 4096);
    EXPECT_GE(replay.highestLogSequence, field32(s.before, hive::kSecondarySequenceAt));
}

INSTANTIATE_TEST_SUITE_P(Cases, HiveReplayTest, ::testing::ValuesIn(kCases),
                         CaseName());

}  // namespace
}  // namespace brisko::testing
