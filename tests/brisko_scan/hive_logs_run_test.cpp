// brisko-scan over the volume of a 64-bit Windows left dirty: the 32-bit
// trojan's Run value (in the 32-bit view, Wow6432Node) only in the SOFTWARE
// hive's new-format .LOG1, its service only in the SYSTEM hive's old-format
// .LOG. Detection sees what Windows will see, a
// removal writes each hive whole with its logs replayed, behind backups of
// the hive and its logs, and a hive whose log is another hive's is never
// written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "platform/hive/base_block.h"
#include "tests/brisko_scan/scan_run_fixture.h"
#include "tests/hive/dirty_hive.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using testing::Bytes;
using testing::HiveBuilder;
using testing::readFileBytes;
using testing::readHiveContents;

constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32Key = "Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kInfected = "C:\\Windows\\SysWOW64\\evil.exe";
constexpr const char* kConfig = "Windows/System32/config/";
constexpr const char* kEvilService = "ControlSet001\\Services\\EvilSvc";
constexpr const char* kKeptService = "ControlSet001\\Services\\KeptSvc";

class HiveLogsRunTest : public testing::ScanRunTest {
protected:
    HiveLogsRunTest() {
        write("Windows/SysWOW64/evil.exe", buildSample(signatureTable[0]));
        fs::create_directories(volume_ / kConfig);
        software_ = testing::buildStates(
            root_ / "software-states", "SOFTWARE",
            [](HiveBuilder& h) { h.setString(kRunKey, "Other", "C:\\Program Files\\Tools\\ok.exe"); },
            [](HiveBuilder& h) {
                h.setString(kRun32Key, "Updater", std::string(kInfected) + " /silent")
                    .setString(kRunKey, "Tray", "C:\\Program Files\\Tools\\tray.exe")
                    .setString("Tools\\Kept", "Version", "7");
            });
        system_ = testing::buildStates(
            root_ / "system-states", "SYSTEM",
            [](HiveBuilder& h) {
                h.setString("ControlSet001\\Services\\Spooler", "ImagePath", "%SystemRoot%\\System32\\spoolsv.exe");
            },
            [](HiveBuilder& h) {
                h.setString(kEvilService, "ImagePath", "\\SystemRoot\\SysWOW64\\evil.exe")
                    .setString(std::string(kEvilService) + "\\Parameters", "Mode", "1")
                    .setString(kKeptService, "ImagePath", "%SystemRoot%\\System32\\kept.exe");
            });
        put("SOFTWARE", testing::dirtied(software_.before));
        put("SOFTWARE.LOG1", testing::newFormatLogFor(software_));
        put("SOFTWARE.LOG2", {});
        put("SYSTEM", testing::dirtied(system_.before));
        put("SYSTEM.LOG", testing::oldFormatLog(system_.before, system_.after));
    }

    void put(const std::string& name, const Bytes& bytes) { write(std::string(kConfig) + name, bytes); }
    fs::path config(const std::string& name) const { return volume_ / kConfig / name; }
    // Every file of the config folder with its bytes.
    std::map<std::string, Bytes> configFiles() const {
        std::map<std::string, Bytes> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(volume_ / kConfig)) {
            files[entry.path().filename().string()] = readFileBytes(entry.path());
        }
        return files;
    }
    static void expectClean(const fs::path& hive) {
        const Bytes bytes = readFileBytes(hive);
        EXPECT_TRUE(hive::baseBlockValid(bytes.data())) << hive;
        EXPECT_EQ(testing::field32(bytes, hive::kPrimarySequenceAt),
                  testing::field32(bytes, hive::kSecondarySequenceAt))
            << hive;
    }

    testing::HiveStates software_;
    testing::HiveStates system_;
};

TEST_F(HiveLogsRunTest, RemoveCleansWhatLivesOnlyInTheLogsAndKeepsEverythingElseTheyHeld) {
    const std::map<std::string, Bytes> before = configFiles();
    const testing::ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, Contains(HasSubstr("SOFTWARE: dirty: 1 log entry replayed from SOFTWARE.LOG1")));
    EXPECT_THAT(run.lines, Contains(HasSubstr("SYSTEM: dirty: its changes replayed from SYSTEM.LOG")));
    EXPECT_THAT(run.lines,
                Contains("System Registry     W32/Krenot.Trojan removed  [Windows\\System32\\config\\SOFTWARE, 32-bit view]"));
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Ek.PSW.Trojan removed  "
                                    "[Windows\\System32\\config\\SYSTEM, service EvilSvc]"));

    const testing::HiveContents software = readHiveContents(config("SOFTWARE"));
    EXPECT_EQ(software.at(kRun32Key).count("Updater"), 0u);
    EXPECT_EQ(software.at(kRunKey).count("Other"), 1u);
    EXPECT_EQ(software.at(kRunKey).count("Tray"), 1u);
    EXPECT_EQ(software.at("Tools\\Kept").count("Version"), 1u);
    const testing::HiveContents system = readHiveContents(config("SYSTEM"));
    EXPECT_EQ(system.count(kEvilService), 0u);
    EXPECT_EQ(system.count(std::string(kEvilService) + "\\Parameters"), 0u);
    EXPECT_EQ(system.count(kKeptService), 1u);
    EXPECT_EQ(system.count("ControlSet001\\Services\\Spooler"), 1u);
    expectClean(config("SOFTWARE"));
    expectClean(config("SYSTEM"));

    // The hives and their logs as they were, beside them; the logs untouched.
    EXPECT_EQ(readFileBytes(config("SOFTWARE.brisko-backup")), before.at("SOFTWARE"));
    EXPECT_EQ(readFileBytes(config("SOFTWARE.LOG1.brisko-backup")), before.at("SOFTWARE.LOG1"));
    EXPECT_EQ(readFileBytes(config("SOFTWARE.LOG2.brisko-backup")), before.at("SOFTWARE.LOG2"));
    EXPECT_EQ(readFileBytes(config("SYSTEM.brisko-backup")), before.at("SYSTEM"));
    EXPECT_EQ(readFileBytes(config("SYSTEM.LOG.brisko-backup")), before.at("SYSTEM.LOG"));
    for (const char* log : {"SOFTWARE.LOG1", "SOFTWARE.LOG2", "SYSTEM.LOG"}) {
        EXPECT_EQ(readFileBytes(config(log)), before.at(log)) << log;
    }

    // Windows would now find nothing to replay, and neither does a new run.
    const testing::ScanRun again = scan("--action leave " + volume_.string());
    EXPECT_EQ(again.exitStatus, 0) << again.errors;
    EXPECT_THAT(again.lines, ::testing::Not(Contains(HasSubstr("dirty"))));
}

TEST_F(HiveLogsRunTest, LeaveSeesWhatTheLogsHoldAndWritesNothing) {
    const std::map<std::string, Bytes> before = configFiles();
    const testing::ScanRun run = scan("--action leave " + volume_.string());
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Trojan removed  [Windows\\System32\\config\\SOFTWARE, "
                                    "32-bit view, not written: --action leave]"));
    EXPECT_EQ(configFiles(), before);
}

TEST_F(HiveLogsRunTest, AHiveWhoseLogIsAnotherHivesIsNeverWrittenAndTheRunFails) {
    // The trojan's value is in the hive itself too: found, but not written.
    const testing::HiveStates states = testing::buildStates(
        root_ / "infected-states", "SOFTWARE",
        [](HiveBuilder& h) { h.setString(kRunKey, "Updater", std::string(kInfected) + " /silent"); },
        [](HiveBuilder& h) { h.setString(kRunKey, "Tray", "C:\\Program Files\\Tools\\tray.exe"); });
    testing::HiveStates foreign = states;
    testing::nameHive(foreign.before, "SAM");
    put("SOFTWARE", testing::dirtied(states.before));
    put("SOFTWARE.LOG1", testing::newFormatLogFor(foreign));
    const Bytes hive = readFileBytes(config("SOFTWARE"));
    const Bytes log = readFileBytes(config("SOFTWARE.LOG1"));
    const testing::ScanRun run = scan("--action remove " + volume_.string());
    EXPECT_EQ(run.exitStatus, 3) << run.errors;
    EXPECT_THAT(run.lines, Contains(HasSubstr("SOFTWARE: dirty, and its logs cannot be replayed: SOFTWARE.LOG1: "
                                              "written for another hive; read as it stands; never written")));
    EXPECT_THAT(run.lines, Contains("System Registry     W32/Krenot.Trojan removed  [Windows\\System32\\config\\SOFTWARE, "
                                    "not written: its logs cannot be replayed]"));
    EXPECT_THAT(run.lines, Contains(HasSubstr("SOFTWARE: not written: its logs cannot be replayed")));
    EXPECT_EQ(readFileBytes(config("SOFTWARE")), hive);
    EXPECT_EQ(readFileBytes(config("SOFTWARE.LOG1")), log);
    EXPECT_FALSE(fs::exists(config("SOFTWARE.brisko-backup")));
    EXPECT_FALSE(fs::exists(config("SOFTWARE.LOG1.brisko-backup")));
    // The other hive is treated all the same.
    EXPECT_EQ(readHiveContents(config("SYSTEM")).count(kEvilService), 0u);
}

}  // namespace
}  // namespace brisko
