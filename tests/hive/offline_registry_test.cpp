// The offline registry through the program's registry seam: roots mapped to
// hives, keys and values as the Reg*A calls give them, hives that cannot be
// used, and changes written back only at commit, behind a backup.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/hive/offline_registry.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tests/support/temporary_folder.h"
#include "tests/hive/hive_test_files.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kRun = "Microsoft\\Windows\\CurrentVersion\\Run";

class OfflineRegistryTest : public ::testing::Test {
protected:
    OfflineRegistryTest() : software(folder.path() / "SOFTWARE"), system(folder.path() / "SYSTEM") {
        HiveBuilder machine(software);
        machine.setString(kRun, "Updater", "C:\\WINDOWS\\x.exe")
            .setString(kRun, "Tray", "tray.exe")
            .setValue(kRun, "Count", 4, {0x2A, 0, 0, 0})
            .setValue(kRun, "Path", 2, hiveText("%SystemRoot%\\y.exe"))
            .setValue(kRun, "Accents", 1, {'C', 0, 'a', 0, 'f', 0, 0xE9, 0, 0x2C, 0x4E, 0, 0})
            .setString(kRun, "", "default")
            .setValue("Classes", "Blob", 3, std::vector<std::uint8_t>(6000, 1));  // a second bin
        machine.commit();
        HiveBuilder services(system);
        services.addKey("ControlSet001\\Services\\Beep\\Enum").addKey("ControlSet001\\Services\\Afd");
        services.commit();
    }

    RegistryStatus open(const std::string& subkey, std::unique_ptr<RegistryKey>& key,
                        std::uint32_t access = kKeyRead) {
        return registry.openMachineKey(subkey.c_str(), access, RegistryView::kDefault, key);
    }
    // The key, which must open.
    std::unique_ptr<RegistryKey> opened(const std::string& subkey, std::uint32_t access = kKeyRead) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(open(subkey, key, access), kErrorSuccess) << subkey;
        return key;
    }
    // Every name the key gives by index, up to kErrorNoMoreItems.
    using NameAt = RegistryStatus (RegistryKey::*)(std::uint32_t, char*, std::uint32_t&);
    static std::vector<std::string> names(RegistryKey& key, NameAt nameAt) {
        std::vector<std::string> found;
        char name[64];
        for (std::uint32_t i = 0;; ++i) {
            std::uint32_t capacity = sizeof name;
            const RegistryStatus status = (key.*nameAt)(i, name, capacity);
            if (status == kErrorNoMoreItems) return found;
            EXPECT_EQ(status, kErrorSuccess);
            EXPECT_EQ(capacity, std::strlen(name));
            found.emplace_back(name);
        }
    }
    static std::vector<std::string> valueNames(RegistryKey& key) {
        std::uint32_t count = 0;
        EXPECT_EQ(key.countValues(count), kErrorSuccess);
        std::vector<std::string> found = names(key, &RegistryKey::valueNameAt);
        EXPECT_EQ(found.size(), count);
        return found;
    }
    static std::vector<std::string> subkeyNames(RegistryKey& key) { return names(key, &RegistryKey::subkeyNameAt); }
    // Every file of the folder, by name.
    std::vector<std::string> folderFiles() { return sortedFileNames(folder.path()); }
    void presentMachine() {
        ASSERT_EQ(registry.present("SOFTWARE", software).status, HiveOpenStatus::kOpened);
        ASSERT_EQ(registry.present("SYSTEM", system).status, HiveOpenStatus::kOpened);
    }

    TemporaryFolder folder{"brisko-hive"};
    const fs::path software;
    const fs::path system;
    OfflineRegistry registry;
};

TEST_F(OfflineRegistryTest, EachRootIsAnsweredByItsHiveWithNamesMatchedCaseBlind) {
    presentMachine();
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(open("software\\MICROSOFT\\windows\\CurrentVersion\\run", key), kErrorSuccess);
    EXPECT_EQ(open("System\\ControlSet001\\Services\\Beep\\", key), kErrorSuccess);
    EXPECT_EQ(open("SYSTEM\\Microsoft", key), kErrorFileNotFound);  // in the other hive
    EXPECT_EQ(open("SAM\\Domains", key), kErrorFileNotFound);        // no hive answers
    EXPECT_EQ(open("SOFTWARE\\\\Microsoft", key), kErrorFileNotFound);
    EXPECT_FALSE(key);
    EXPECT_THAT(subkeyNames(*opened("SOFTWARE")), ElementsAre("Classes", "Microsoft"));
}

TEST_F(OfflineRegistryTest, ValuesReadAsTheAnsiCallsGiveThem) {
    presentMachine();
    std::unique_ptr<RegistryKey> run = opened(std::string("SOFTWARE\\") + kRun);
    EXPECT_THAT(valueNames(*run), ElementsAre("Updater", "Tray", "Count", "Path", "Accents", ""));
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string data;
    };
    const Case cases[] = {
        {"updater", kRegistryString, std::string("C:\\WINDOWS\\x.exe") + '\0'},
        {"Count", kRegistryNumber, std::string("\x2A\0\0\0", 4)},
        {"Path", 2, std::string("%SystemRoot%\\y.exe") + '\0'},
        {"Accents", kRegistryString, std::string("Caf\xE9?") + '\0'},  // no ANSI letter for U+4E2C
        {nullptr, kRegistryString, std::string("default") + '\0'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name == nullptr ? "(default)" : c.name);
        std::uint32_t size = 0;
        ASSERT_EQ(run->queryValue(c.name, nullptr, nullptr, size), kErrorSuccess);
        EXPECT_EQ(size, c.data.size());
        char small[2];
        size = sizeof small;
        std::uint32_t type = 0;
        EXPECT_EQ(run->queryValue(c.name, &type, reinterpret_cast<std::uint8_t*>(small), size), kErrorMoreData);
        EXPECT_EQ(size, c.data.size());
        EXPECT_EQ(type, c.type);
        char data[64];
        size = sizeof data;
        ASSERT_EQ(run->queryValue(c.name, nullptr, reinterpret_cast<std::uint8_t*>(data), size), kErrorSuccess);
        EXPECT_EQ(std::string(data, size), c.data);
    }
    std::uint32_t size = 0;
    EXPECT_EQ(run->queryValue("Missing", nullptr, nullptr, size), kErrorFileNotFound);
    char name[7];
    std::uint32_t capacity = sizeof name;  // "Updater" needs 8 with its terminator
    EXPECT_EQ(run->valueNameAt(0, name, capacity), kErrorMoreData);
}

TEST_F(OfflineRegistryTest, ADeletedValueClosesUpTheIndexesAndNeedsTheRightToSetValues) {
    presentMachine();
    const std::string run = std::string("SOFTWARE\\") + kRun;
    EXPECT_EQ(opened(run)->deleteValue("Tray"), kErrorAccessDenied);
    std::unique_ptr<RegistryKey> key = opened(run, kKeyAllAccess);
    ASSERT_EQ(key->deleteValue("TRAY"), kErrorSuccess);
    EXPECT_EQ(key->deleteValue("Tray"), kErrorFileNotFound);
    EXPECT_THAT(valueNames(*key), ElementsAre("Updater", "Count", "Path", "Accents", ""));
    std::uint32_t size = 0;
    EXPECT_EQ(key->queryValue("Count", nullptr, nullptr, size), kErrorSuccess);
    EXPECT_EQ(size, 4u);
}

TEST_F(OfflineRegistryTest, AUserHiveCanAnswerForSoftware) {
    const fs::path user = folder.path() / "NTUSER.DAT";
    {
        HiveBuilder hive(user);
        hive.setString(std::string("Software\\") + kRun, "Messenger", "C:\\Users\\ann\\m.exe");
        hive.commit();
    }
    ASSERT_EQ(registry.present("SOFTWARE", user, "Software").status, HiveOpenStatus::kOpened);
    // The same file under a second root is opened once.
    ASSERT_EQ(registry.present("USER", user).status, HiveOpenStatus::kOpened);
    EXPECT_EQ(registry.present("software", software).status, HiveOpenStatus::kRootRefused);
    EXPECT_EQ(registry.present("A\\B", software).status, HiveOpenStatus::kRootRefused);

    EXPECT_THAT(valueNames(*opened(std::string("Software\\") + kRun)), ElementsAre("Messenger"));
    EXPECT_EQ(opened(std::string("SOFTWARE\\") + kRun, kKeyAllAccess)->deleteValue("Messenger"), kErrorSuccess);
    EXPECT_THAT(valueNames(*opened(std::string("USER\\Software\\") + kRun)), IsEmpty());
    EXPECT_EQ(registry.deleteMachineKey("SOFTWARE"), kErrorAccessDenied);  // the presented key itself

    const std::vector<HiveWrite> written = registry.commit();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].status, HiveWriteStatus::kWritten) << written[0].text;
    EXPECT_THAT(readHiveContents(user).at(std::string("Software\\") + kRun), IsEmpty());
}

TEST_F(OfflineRegistryTest, AHiveThatCannotBeReadIsReportedAndNeverTouched) {
    const std::string whole = fileBytes(software);
    std::string flipped = whole;
    flipped[12] ^= 0x01;  // the time of the last write, under the checksum
    struct Case {
        const char* what;
        std::string bytes;
        HiveOpenStatus status;
        const char* text;
    };
    const Case cases[] = {
        {"garbage", std::string(16384, 'x'), HiveOpenStatus::kDamaged, "not a registry hive"},
        {"an empty file", "", HiveOpenStatus::kDamaged, "not a registry hive"},
        {"cut after its first bin", whole.substr(0, 8192), HiveOpenStatus::kDamaged, "truncated"},
        {"cut inside a bin", whole.substr(0, whole.size() - 100), HiveOpenStatus::kDamaged, "truncated"},
        {"a broken checksum", flipped, HiveOpenStatus::kDamaged, "damaged"},
    };
    ASSERT_GT(whole.size(), 8192u);  // the hive spans more than one bin
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = folder.path() / c.what;
        writeBytes(file, c.bytes);
        OfflineRegistry offline;
        const HiveOpening opening = offline.present("SOFTWARE", file);
        EXPECT_EQ(opening.status, c.status);
        EXPECT_THAT(opening.text, ::testing::HasSubstr(c.text));
        EXPECT_THAT(opening.text, ::testing::StartsWith(file.string()));
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(offline.openMachineKey("SOFTWARE", kKeyRead, RegistryView::kDefault, key), kErrorFileNotFound);
        EXPECT_THAT(offline.commit(), IsEmpty());
        EXPECT_EQ(fileBytes(file), c.bytes);
        fs::remove(file);
    }
    const HiveOpening missing = registry.present("SOFTWARE", folder.path() / "NOWHERE");
    EXPECT_EQ(missing.status, HiveOpenStatus::kMissing);
    EXPECT_THAT(folderFiles(), ElementsAre("SOFTWARE", "SYSTEM"));
}

TEST_F(OfflineRegistryTest, OnlyChangedHivesAreWrittenEachBehindABackupOfItsOwn) {
    presentMachine();
    const std::string systemBefore = fileBytes(system);
    const HiveContents first = readHiveContents(software);
    const std::string run = std::string("SOFTWARE\\") + kRun;
    writeBytes(folder.path() / "SOFTWARE.brisko-backup.2", "an older backup, kept");

    ASSERT_EQ(opened(run, kKeyAllAccess)->deleteValue("Updater"), kErrorSuccess);
    EXPECT_EQ(readHiveContents(software), first);  // nothing written before commit
    std::vector<HiveWrite> written = registry.commit();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].status, HiveWriteStatus::kWritten) << written[0].text;
    EXPECT_EQ(written[0].backup, folder.path() / "SOFTWARE.brisko-backup");
    EXPECT_EQ(readHiveContents(written[0].backup), first);
    const HiveContents second = readHiveContents(software);
    EXPECT_EQ(second.at(kRun).count("Updater"), 0u);
    EXPECT_THAT(registry.commit(), IsEmpty());  // nothing changed since

    ASSERT_EQ(opened(run, kKeyAllAccess)->deleteValue("Tray"), kErrorSuccess);
    written = registry.commit();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].backup, folder.path() / "SOFTWARE.brisko-backup.3");
    EXPECT_EQ(readHiveContents(written[0].backup), second);
    EXPECT_EQ(readHiveContents(software).at(kRun).count("Tray"), 0u);
    EXPECT_EQ(readHiveContents(folder.path() / "SOFTWARE.brisko-backup"), first);
    EXPECT_EQ(fileBytes(folder.path() / "SOFTWARE.brisko-backup.2"), "an older backup, kept");

    EXPECT_EQ(fileBytes(system), systemBefore);
    EXPECT_THAT(folderFiles(), ElementsAre("SOFTWARE", "SOFTWARE.brisko-backup", "SOFTWARE.brisko-backup.2",
                                           "SOFTWARE.brisko-backup.3", "SYSTEM"));
}

TEST_F(OfflineRegistryTest, AKeyIsDeletedOnlyWithoutSubkeysAsOnWindows) {
    presentMachine();
    std::unique_ptr<RegistryKey> beforeDeletion = opened("SYSTEM\\ControlSet001\\Services\\Beep\\Enum");
    EXPECT_EQ(registry.deleteMachineKey("SYSTEM\\ControlSet001\\Services\\Beep"), kErrorAccessDenied);
    EXPECT_EQ(registry.deleteMachineKey("SYSTEM"), kErrorAccessDenied);
    EXPECT_EQ(registry.deleteMachineKey("SYSTEM\\ControlSet001\\Services\\Gone"), kErrorFileNotFound);
    EXPECT_EQ(registry.deleteMachineKey("system\\controlset001\\services\\beep\\enum"), kErrorSuccess);
    std::uint32_t count = 0;
    EXPECT_EQ(beforeDeletion->countValues(count), kErrorFileNotFound);  // a handle to a deleted key
    EXPECT_EQ(registry.deleteMachineKey("SYSTEM\\ControlSet001\\Services\\Beep"), kErrorSuccess);
    EXPECT_THAT(subkeyNames(*opened("SYSTEM\\ControlSet001\\Services")), ElementsAre("Afd"));

    ASSERT_EQ(registry.commit().size(), 1u);
    const HiveContents after = readHiveContents(system);
    EXPECT_EQ(after.count("ControlSet001\\Services\\Beep"), 0u);
    EXPECT_EQ(after.count("ControlSet001\\Services\\Afd"), 1u);
}

// The key a root presents is never deleted, even where it has no subkeys
// (the rule that refuses a key with subkeys does not answer for it there).
TEST_F(OfflineRegistryTest, APresentedKeyWithoutSubkeysIsStillNotDeleted) {
    struct Case {
        const char* name;
        const char* keyInHive;  // "" for the hive's root
    };
    for (const Case& c : {Case{"the hive's root", ""}, Case{"a key in the hive", "Software"}}) {
        SCOPED_TRACE(c.name);
        TemporaryFolder own{"brisko-hive-root"};
        const fs::path user = own.path() / "NTUSER.DAT";
        HiveBuilder(user).setString(c.keyInHive, "Only", "a value").commit();
        const HiveContents before = readHiveContents(user);
        OfflineRegistry presented;
        ASSERT_EQ(presented.present("SOFTWARE", user, c.keyInHive).status, HiveOpenStatus::kOpened);
        std::unique_ptr<RegistryKey> key;
        ASSERT_EQ(presented.openMachineKey("SOFTWARE", kKeyRead, RegistryView::kDefault, key), kErrorSuccess);
        EXPECT_EQ(names(*key, &RegistryKey::subkeyNameAt), std::vector<std::string>{});
        key.reset();

        EXPECT_EQ(presented.deleteMachineKey("SOFTWARE"), kErrorAccessDenied);
        EXPECT_TRUE(presented.commit().empty());
        EXPECT_EQ(readHiveContents(user), before);
    }
}

TEST_F(OfflineRegistryTest, HasNoPerformanceData) {
    std::uint8_t data[16];
    std::uint32_t size = sizeof data;
    EXPECT_EQ(registry.queryPerformanceData("230", data, size), kErrorFileNotFound);
}

}  // namespace
}  // namespace brisko::testing
