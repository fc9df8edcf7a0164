// Dirty hives on the disk through the offline registry: their logs found
// beside them case-blind and never through a link, replayed before anything
// reads them, and a replayed hive written back behind backups of the hive
// and of each log, with equal sequence numbers above every log entry's, a
// valid checksum, and its logs left as they were. A hive whose logs cannot
// be replayed is read as it stands and never written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/hive/base_block.h"
#include "platform/hive/new_format_log.h"
#include "platform/hive/offline_registry.h"
#include "tests/hive/case_names.h"
#include "tests/hive/dirty_hive.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_test_files.h"
#include "tests/hive/hive_contents.h"
#include "tests/support/temporary_folder.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
namespace hive = brisko::hive;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kRun = "Microsoft\\Windows\\CurrentVersion\\Run";

class HiveLogsTest : public ::testing::Test {
protected:
    HiveLogsTest() {
        states = buildStates(
            folder.path() / "scratch", "SOFTWARE", [](HiveBuilder& h) { h.setString(kRun, "Other", "ok.exe"); },
            [](HiveBuilder& h) {
                h.setString(kRun, "Updater", "evil.exe").setValue("Tools\\Kept", "Blob", 3, Bytes(9000, 0x42));
            });
        fs::remove(folder.path() / "scratch");
    }

    std::vector<std::string> folderFiles() { return sortedFileNames(folder.path()); }
    // Deletes the Run key's Updater value, which must be there.
    void deleteUpdater() {
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(registry.openMachineKey((std::string("SOFTWARE\\") + kRun).c_str(), kKeyRead | 0x0002,
                                          RegistryView::kDefault, key),
                  kErrorSuccess);
        ASSERT_EQ(key->deleteValue("Updater"), kErrorSuccess);
    }

    TemporaryFolder folder{"brisko-hive-logs"};
    const fs::path software = folder.path() / "SOFTWARE";
    HiveStates states;
    OfflineRegistry registry;
};

TEST_F(HiveLogsTest, ADirtyHiveIsReadWithItsLogReplayed) {
    const Bytes dirty = dirtied(states.before);
    const Bytes log = newFormatLogFor(states);
    writeFileBytes(software, dirty);
    writeFileBytes(folder.path() / "software.log1", log);  // names match case-blind
    writeFileBytes(folder.path() / "SOFTWARE.LOG2", {});
    const HiveOpening opening = registry.present("SOFTWARE", software);
    ASSERT_EQ(opening.status, HiveOpenStatus::kOpened) << opening.text;
    EXPECT_EQ(opening.logs, hive::HiveLogState::kReplayed);
    EXPECT_THAT(opening.text, HasSubstr("1 log entry replayed from software.log1"));
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry.openMachineKey("SOFTWARE\\Tools\\Kept", kKeyRead, RegistryView::kDefault, key), kErrorSuccess);
    // Reading wrote nothing, and the replayed copy lives outside the folder.
    EXPECT_EQ(readFileBytes(software), dirty);
    EXPECT_EQ(readFileBytes(folder.path() / "software.log1"), log);
    EXPECT_THAT(folderFiles(), ElementsAre("SOFTWARE", "SOFTWARE.LOG2", "software.log1"));
}

// Read as it stands only when whole: hivex would read a hive cut short.
TEST_F(HiveLogsTest, ADirtyHiveCutShortWithoutALogIsRefused) {
    Bytes dirty = dirtied(states.before);
    dirty.resize(dirty.size() - 4096);
    writeFileBytes(software, dirty);
    const HiveOpening opening = registry.present("SOFTWARE", software);
    EXPECT_EQ(opening.status, HiveOpenStatus::kDamaged);
    EXPECT_THAT(opening.text, HasSubstr("no transaction log beside it holds its changes, and the hive is truncated"));
    EXPECT_EQ(readFileBytes(software), dirty);
}

struct WriteCase {
    const char* name;
    const char* logName;
    bool oldFormat;
    bool staleEntry = false;  // a bogus entry numbered 40 after the log's own
};

// Named in test lists by its name, not its bytes.
std::ostream& operator<<(std::ostream& out, const WriteCase& c) { return out << c.name; }

class HiveLogsWriteTest : public HiveLogsTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(HiveLogsWriteTest, AReplayedHiveIsWrittenWholeBehindBackupsAndItsLogsAreLeftAsTheyWere) {
    const Bytes dirty = dirtied(states.before);
    Bytes log = GetParam().oldFormat ? oldFormatLog(states.before, states.after) : newFormatLogFor(states);
    if (GetParam().staleEntry) {
        Bytes stale = logEntry(40, 4096, {{0, Bytes(4096, 0x77)}});
        stale[100] ^= 1;
        log.insert(log.end(), stale.begin(), stale.end());
    }
    const Bytes stale = Bytes(1024, 0);
    writeFileBytes(software, dirty);
    writeFileBytes(folder.path() / GetParam().logName, log);
    writeFileBytes(folder.path() / "SOFTWARE.LOG2", stale);
    writeFileBytes(folder.path() / "SOFTWARE.LOG2.brisko-backup", {'o', 'l', 'd'});  // never written over
    // Every sequence number in the log, its base block's and its entries'.
    const std::uint32_t highest = hive::highestLogSequence({"", log.data(), log.size()});
    ASSERT_GE(highest, field32(states.before, hive::kSecondarySequenceAt));
    ASSERT_EQ(registry.present("SOFTWARE", software).logs, hive::HiveLogState::kReplayed);
    deleteUpdater();
    const std::vector<HiveWrite> written = registry.commit();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].status, HiveWriteStatus::kWritten) << written[0].text;
    EXPECT_EQ(written[0].backup, folder.path() / "SOFTWARE.brisko-backup");
    EXPECT_THAT(written[0].logBackups,
                ElementsAre(folder.path() / (std::string(GetParam().logName) + ".brisko-backup"),
                            folder.path() / "SOFTWARE.LOG2.brisko-backup.2"));

    // The backups, and the logs as they were.
    EXPECT_EQ(readFileBytes(folder.path() / "SOFTWARE.brisko-backup"), dirty);
    EXPECT_EQ(readFileBytes(folder.path() / (std::string(GetParam().logName) + ".brisko-backup")), log);
    EXPECT_EQ(readFileBytes(folder.path() / "SOFTWARE.LOG2.brisko-backup.2"), stale);
    EXPECT_EQ(readFileBytes(folder.path() / "SOFTWARE.LOG2.brisko-backup"), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(readFileBytes(folder.path() / GetParam().logName), log);
    EXPECT_EQ(readFileBytes(folder.path() / "SOFTWARE.LOG2"), stale);

    // The hive: clean, above every log entry, hivex reads it, the log's
    // changes in it and the value deleted.
    const Bytes hive = readFileBytes(software);
    EXPECT_TRUE(hive::baseBlockValid(hive.data()));
    EXPECT_EQ(field32(hive, hive::kPrimarySequenceAt), field32(hive, hive::kSecondarySequenceAt));
    EXPECT_GT(field32(hive, hive::kPrimarySequenceAt), highest);
    if (GetParam().staleEntry) {
        EXPECT_EQ(field32(hive, hive::kPrimarySequenceAt), 41u);
    }
    EXPECT_EQ(field32(hive, hive::kFileTypeAt), hive::kFileTypePrimary);
    const HiveContents contents = readHiveContents(software);
    EXPECT_EQ(contents.at(kRun).count("Updater"), 0u);
    EXPECT_EQ(contents.at(kRun).count("Other"), 1u);
    EXPECT_EQ(contents.at("Tools\\Kept").at("Blob").data, Bytes(9000, 0x42));
}

const WriteCase kWriteCases[] = {
    {"NewFormat", "SOFTWARE.LOG1", false},
    {"NewFormatAboveAStaleEntry", "SOFTWARE.LOG1", false, true},
    {"OldFormat", "SOFTWARE.LOG", true},
    {"OldFormatInLog1", "Software.Log1", true},
};

INSTANTIATE_TEST_SUITE_P(Formats, HiveLogsWriteTest, ::testing::ValuesIn(kWriteCases),
                         CaseName());

struct RefusedCase {
    const char* name;
    std::function<void(const fs::path& folder, const HiveStates& states)> logs;
    std::string why;
};

// Named in test lists by its name, not its bytes.
std::ostream& operator<<(std::ostream& out, const RefusedCase& c) { return out << c.name; }

const RefusedCase kRefusedCases[] = {
    {"ForeignLog",
     [](const fs::path& folder, const HiveStates& s) {
         HiveStates other = s;
         nameHive(other.before, "SYSTEM");
         writeFileBytes(folder / "SOFTWARE.LOG1", newFormatLogFor(other));
     },
     "SOFTWARE.LOG1: written for another hive"},
    {"SymbolicLink",
     [](const fs::path& folder, const HiveStates& s) {
         writeFileBytes(folder / "elsewhere", newFormatLogFor(s));
         fs::create_symlink(folder / "elsewhere", folder / "SOFTWARE.LOG1");
     },
     "SOFTWARE.LOG1: a symbolic link, not followed"},
    {"TwoNamesForOneLog",
     [](const fs::path& folder, const HiveStates& s) {
         writeFileBytes(folder / "SOFTWARE.LOG1", newFormatLogFor(s));
         writeFileBytes(folder / "software.log1", newFormatLogFor(s));
     },
     "two files answer for SOFTWARE.LOG1"},
    {"NoLog", [](const fs::path&, const HiveStates&) {}, "no transaction log beside it"},
};

class HiveLogsRefusedTest : public HiveLogsTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(HiveLogsRefusedTest, IsReadAsItStandsAndNeverWritten) {
    const Bytes dirty = dirtied(states.before);
    writeFileBytes(software, dirty);
    GetParam().logs(folder.path(), states);
    const std::vector<std::string> files = folderFiles();
    std::vector<Bytes> contents;
    for (const std::string& name : files) contents.push_back(readFileBytes(folder.path() / name));

    const HiveOpening opening = registry.present("SOFTWARE", software);
    ASSERT_EQ(opening.status, HiveOpenStatus::kOpened) << opening.text;
    EXPECT_EQ(opening.logs, hive::HiveLogState::kNotReplayable);
    EXPECT_THAT(opening.text, HasSubstr(GetParam().why));
    // Read as it stands: the before state, without the log's changes.
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(registry.openMachineKey("SOFTWARE\\Tools\\Kept", kKeyRead, RegistryView::kDefault, key),
              kErrorFileNotFound);
    std::unique_ptr<RegistryKey> run;
    ASSERT_EQ(registry.openMachineKey((std::string("SOFTWARE\\") + kRun).c_str(), kKeyRead | 0x0002,
                                      RegistryView::kDefault, run),
              kErrorSuccess);
    ASSERT_EQ(run->deleteValue("Other"), kErrorSuccess);
    run.reset();
    const std::vector<HiveWrite> written = registry.commit();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].status, HiveWriteStatus::kRefused);
    EXPECT_THAT(written[0].text, HasSubstr("not written: its logs cannot be replayed"));
    EXPECT_EQ(folderFiles(), files);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(readFileBytes(folder.path() / files[i]), contents[i]) << files[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HiveLogsRefusedTest, ::testing::ValuesIn(kRefusedCases),
                         CaseName());

}  // namespace
}  // namespace brisko::testing
