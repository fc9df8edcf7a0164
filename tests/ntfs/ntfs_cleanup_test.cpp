// brisko-scan on NTFS: a whole installation cleaned, and names that differ
// in case from what the hives say, which ntfs-3g tells apart and Windows
// does not.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "matcher/threat_signature.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tests/ntfs/ntfs_volume_test.h"
#include "tests/support/hosts_texts.h"
#include "tools/sample_writer/sample_writer.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using testing::ExpectedChanges;
using testing::HiveBuilder;
using testing::readHiveContents;

constexpr const char* kRunKey = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUserRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kEvilService = "ControlSet001\\Services\\EvilSvc";

class NtfsCleanupTest : public testing::NtfsVolumeTest {
protected:
    void writeHive(const std::string& relative, const std::string& key,
                   const std::vector<std::pair<std::string, std::string>>& values) {
        fs::create_directories((volume_ / relative).parent_path());
        HiveBuilder hive(volume_ / relative);
        for (const auto& [name, data] : values) hive.setString(key, name, data);
        hive.commit();
    }

    bool hasValue(const std::string& hive, const std::string& key, const std::string& name) {
        const testing::HiveContents contents = readHiveContents(volume_ / hive);
        const auto found = contents.find(key);
        return found != contents.end() && found->second.count(name) != 0;
    }
};

TEST_F(NtfsCleanupTest, AWholeInstallationIsCleanedAndTheImageStaysSound) {
    write("Windows/System32/evil.exe", buildSample(signatureTable[0]));
    write("Windows/System32/notepad.exe", std::string("a program the scan must leave alone"));
    writeHive("Windows/System32/config/SOFTWARE", kRunKey,
              {{"Updater", "C:\\Windows\\System32\\evil.exe /silent"}, {"Other", "C:\\Program Files\\ok.exe"}});
    fs::create_directories(volume_ / "Windows/System32/config");
    HiveBuilder(volume_ / "Windows/System32/config/SYSTEM")
        .setString(kEvilService, "ImagePath", "\\SystemRoot\\System32\\evil.exe")
        .setString("ControlSet001\\Services\\Spooler", "ImagePath", "%SystemRoot%\\System32\\spoolsv.exe")
        .commit();
    writeHive("Users/alice/NTUSER.DAT", kUserRunKey, {{"Helper", "C:\\Windows\\System32\\evil.exe"}});
    write("Windows/System32/drivers/etc/hosts", testing::infectedHostsText());

    const testing::LeaveAndRemoveRuns runs =
        checkRemoval({{"Windows/System32/evil.exe", "Windows/System32/drivers/etc/hosts"},
                      {"Windows/System32/config/SOFTWARE", "Windows/System32/config/SYSTEM", "Users/alice/NTUSER.DAT"},
                      {{"Windows/System32/drivers/etc/hosts", "Windows/System32/drivers/etc/hosts.brisko-backup"}}});
    EXPECT_THAT(runs.remove.lines, Contains("System Registry     W32/Krenot.Ek.PSW.Trojan removed  "
                                            "[Windows\\System32\\config\\SYSTEM, service EvilSvc]"));
    EXPECT_FALSE(hasValue("Windows/System32/config/SOFTWARE", kRunKey, "Updater"));
    EXPECT_TRUE(hasValue("Windows/System32/config/SOFTWARE", kRunKey, "Other"));
    EXPECT_FALSE(hasValue("Users/alice/NTUSER.DAT", kUserRunKey, "Helper"));
    const testing::HiveContents system = readHiveContents(volume_ / "Windows/System32/config/SYSTEM");
    EXPECT_EQ(system.count(kEvilService), 0u);
    EXPECT_EQ(system.count("ControlSet001\\Services\\Spooler"), 1u);
}

// Where the installation's files are, spelt as the volume stores them, and
// the Run values that name the sample, spelt as Windows would take them.
struct SpellingCase {
    const char* name;
    const char* softwareHive;
    const char* userHive;
    const char* sample;
    const char* hosts;
    const char* machineRunValue;
    const char* userRunValue;
};

const SpellingCase kSpellingCases[] = {
    {"RunValuesInCapitals", "Windows/System32/config/SOFTWARE", "Users/alice/NTUSER.DAT",
     "Windows/System32/netsvc32.exe", "Windows/System32/drivers/etc/hosts", "C:\\WINDOWS\\SYSTEM32\\NETSVC32.EXE",
     "c:\\windows\\SYSTEM32\\NetSvc32.Exe"},
    {"FoldersInCapitals", "WINDOWS/SYSTEM32/CONFIG/SOFTWARE", "USERS/Alice/NTUSER.DAT", "WINDOWS/SYSTEM32/NetSvc32.exe",
     "WINDOWS/SYSTEM32/DRIVERS/ETC/HOSTS", "C:\\Windows\\System32\\netsvc32.exe",
     "C:\\Windows\\System32\\netsvc32.exe /start"},
    {"EverythingInLowerCase", "windows/system32/config/software", "users/alice/ntuser.dat",
     "windows/system32/netsvc32.exe", "windows/system32/drivers/etc/hosts", "C:\\WINDOWS\\System32\\NETSVC32.exe",
     "\"C:\\WINDOWS\\SYSTEM32\\NETSVC32.EXE\""},
};

// Names the case in the test's name and in a failure, not its bytes.
void PrintTo(const SpellingCase& spelling, std::ostream* out) { *out << spelling.name; }

class NtfsSpellingTest : public NtfsCleanupTest, public ::testing::WithParamInterface<SpellingCase> {};

// Windows finds every file of the installation whatever the case; so must
// the scan, and it must clean each value and hive once.
TEST_P(NtfsSpellingTest, EveryFileIsFoundWhateverItsCase) {
    const SpellingCase& spelling = GetParam();
    write(spelling.sample, buildSample(signatureTable[0]));
    writeHive(spelling.softwareHive, kRunKey, {{"Updater", spelling.machineRunValue}, {"Other", "C:\\ok.exe"}});
    writeHive(spelling.userHive, kUserRunKey, {{"Helper", spelling.userRunValue}});
    write(spelling.hosts, testing::infectedHostsText());
    // The program names the copy as it names the hosts file.
    const std::string hostsBackup = fs::path(spelling.hosts).parent_path().string() + "/hosts.brisko-backup";

    const testing::LeaveAndRemoveRuns runs = checkRemoval({{spelling.sample, spelling.hosts},
                                                           {spelling.softwareHive, spelling.userHive},
                                                           {{spelling.hosts, hostsBackup}}});
    EXPECT_EQ(testing::removalsReported(runs.remove, spelling.sample), 1u);
    EXPECT_FALSE(hasValue(spelling.softwareHive, kRunKey, "Updater"));
    EXPECT_TRUE(hasValue(spelling.softwareHive, kRunKey, "Other"));
    EXPECT_FALSE(hasValue(spelling.userHive, kUserRunKey, "Helper"));
}

INSTANTIATE_TEST_SUITE_P(Cases, NtfsSpellingTest, ::testing::ValuesIn(kSpellingCases),
                         [](const ::testing::TestParamInfo<SpellingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace brisko
