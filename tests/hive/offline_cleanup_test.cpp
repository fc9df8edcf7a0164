// The live cleanup code, unchanged, over a volume's hives: the autostart
// values and the service keys of a detection removed from the offline
// registry and written back at commit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/bounded_text.h"
#include "cleanup/autostart_cleanup.h"
#include "memscan/service_cleanup.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tests/support/temporary_folder.h"
#include "tests/hive/offline_platform.h"
#include "tests/support/scan_fixture.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr const char* kRun = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices = "Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kThreat = "W32/Krenot.Gn.PSW.Trojan";
constexpr const char* kWalkLine = "System Registry     W32/Krenot.Trojan removed";

class OfflineCleanupTest : public ScanTest {
protected:
    OfflineCleanupTest() : ScanTest(kStandInForMemoryScan) {
        machine.addWindowsInstallation();
        installPlatform(&offline);
    }
    ~OfflineCleanupTest() override { installPlatform(&machine); }

    void cleanAutostart(const char* infectedPath) {
        copyTruncated(scanSession.infectedPath, infectedPath);
        cleanAutostartEntries(context, kThreat);
    }
    // Commits, expecting every changed hive written.
    std::vector<HiveWrite> commit() {
        std::vector<HiveWrite> written = registry.commit();
        for (const HiveWrite& hive : written) EXPECT_EQ(hive.status, HiveWriteStatus::kWritten) << hive.text;
        return written;
    }

    TemporaryFolder folder{"brisko-hive"};
    OfflineRegistry registry;
    OfflinePlatform offline{machine, registry};
};

TEST_F(OfflineCleanupTest, TheRunValuesOfTheInfectedFileGoFromTheSoftwareHive) {
    const fs::path software = folder.path() / "SOFTWARE";
    {
        HiveBuilder hive(software);
        hive.setString(kRun, "Keep", "C:\\WINDOWS\\notepad.exe")
            .setString(kRun, "One", "C:\\WINDOWS\\x.exe")
            .setString(kRun, "Two", "\"C:\\WINDOWS\\x.exe\" /min")
            .setValue(kRun, "Expanded", 2, hiveText("%SystemRoot%\\x.exe"))
            .setString(kRunServices, "Three", "c:\\windows\\X.exe -s");
        hive.commit();
    }
    const HiveContents before = readHiveContents(software);
    ASSERT_EQ(registry.present("SOFTWARE", software).status, HiveOpenStatus::kOpened);

    cleanAutostart("C:\\WINDOWS\\x.exe");
    EXPECT_THAT(reportLines(), ElementsAre(kWalkLine, kWalkLine, kWalkLine, kWalkLine));
    EXPECT_EQ(readHiveContents(software), before);  // not yet written

    const std::vector<HiveWrite> written = commit();
    ASSERT_EQ(written.size(), 1u);
    const HiveContents after = readHiveContents(software);
    EXPECT_THAT(after.at(kRun), ElementsAre(::testing::Key("Keep")));
    EXPECT_TRUE(after.at(kRunServices).empty());
    EXPECT_EQ(readHiveContents(written[0].backup), before);
}

TEST_F(OfflineCleanupTest, AUserHivePresentedAsSoftwareLosesItsRunValue) {
    const fs::path user = folder.path() / "NTUSER.DAT";
    const std::string run = std::string("Software\\") + kRun;
    {
        HiveBuilder hive(user);
        hive.setString(run, "Updater", "C:\\Documents and Settings\\ann\\x.exe").setString(run, "Other", "y.exe");
        hive.commit();
    }
    ASSERT_EQ(registry.present("SOFTWARE", user, "Software").status, HiveOpenStatus::kOpened);

    cleanAutostart("C:\\Documents and Settings\\ann\\x.exe");
    ASSERT_EQ(commit().size(), 1u);
    EXPECT_THAT(readHiveContents(user).at(run), ElementsAre(::testing::Key("Other")));
    EXPECT_STREQ(scanSession.autostartValueName, "Updater");
}

TEST_F(OfflineCleanupTest, TheServiceKeysGoFromBothControlSetsOfTheSystemHive) {
    const fs::path system = folder.path() / "SYSTEM";
    {
        HiveBuilder hive(system);
        for (const char* set : {"ControlSet001", "ControlSet002"}) {
            const std::string services = std::string(set) + "\\Services\\";
            hive.addKey(services + "evil\\Enum").addKey(services + "evil\\Security").addKey(services + "Beep\\Enum");
        }
        hive.commit();
    }
    ASSERT_EQ(registry.present("SYSTEM", system).status, HiveOpenStatus::kOpened);

    EXPECT_EQ(deleteServiceEntries("evil"), 1);
    ASSERT_EQ(commit().size(), 1u);
    const HiveContents after = readHiveContents(system);
    for (const char* set : {"ControlSet001", "ControlSet002"}) {
        SCOPED_TRACE(set);
        const std::string services = std::string(set) + "\\Services\\";
        EXPECT_EQ(after.count(services + "evil"), 0u);
        EXPECT_EQ(after.count(services + "Beep\\Enum"), 1u);
    }
}

}  // namespace
}  // namespace brisko::testing
