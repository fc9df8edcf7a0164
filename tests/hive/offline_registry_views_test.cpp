// The two registry views of an offline 64-bit installation: the SOFTWARE
// hive's Wow6432Node key answers in the 32-bit view, as 64-bit Windows
// answers a 64-bit program that names that view, and a hive without one
// keeps the single view of 32-bit Windows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/hive/offline_registry.h"
#include "tests/hive/hive_builder.h"
#include "tests/hive/hive_contents.h"
#include "tests/support/temporary_folder.h"

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRun = "Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32 = "Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kAskedRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class OfflineRegistryViewsTest : public ::testing::Test {
protected:
    OfflineRegistryViewsTest() {
        HiveBuilder(system).setString("ControlSet001\\Services\\Afd", "Start", "1").commit();
    }

    void writeSixtyFourBitSoftware() {
        HiveBuilder(software)
            .setString(kRun, "Native", "C:\\Windows\\System32\\a.exe")
            .setString(kRun32, "Redirected", "C:\\Windows\\SysWOW64\\b.exe")
            .commit();
    }
    void presentMachine() {
        ASSERT_EQ(registry.present("SOFTWARE", software).status, HiveOpenStatus::kOpened);
        ASSERT_EQ(registry.present("SYSTEM", system).status, HiveOpenStatus::kOpened);
    }
    // The one value name the key holds; "" when it does not open.
    std::string onlyValueIn(const std::string& subkey, RegistryView view) {
        std::unique_ptr<RegistryKey> key;
        if (registry.openMachineKey(subkey.c_str(), kKeyRead, view, key) != kErrorSuccess) return "";
        char name[64];
        std::uint32_t capacity = sizeof name;
        EXPECT_EQ(key->valueNameAt(0, name, capacity), kErrorSuccess);
        return name;
    }

    TemporaryFolder folder{"brisko-hive-views"};
    const fs::path software = folder.path() / "SOFTWARE";
    const fs::path system = folder.path() / "SYSTEM";
    OfflineRegistry registry;
};

TEST_F(OfflineRegistryViewsTest, EachViewOfSoftwareAnswersFromItsOwnKey) {
    writeSixtyFourBitSoftware();
    presentMachine();
    ASSERT_TRUE(registry.splitThirtyTwoBitView("software"));
    const RegistryViews views = registry.softwareViews();
    EXPECT_THAT(std::vector<RegistryView>(views.begin(), views.end()),
                ::testing::ElementsAre(RegistryView::k64Bit, RegistryView::k32Bit));

    struct Case {
        const char* subkey;
        RegistryView view;
        const char* value;
    };
    const Case cases[] = {
        {kAskedRun, RegistryView::kDefault, "Native"},
        {kAskedRun, RegistryView::k64Bit, "Native"},
        {kAskedRun, RegistryView::k32Bit, "Redirected"},
        // A 64-bit program may name the 32-bit key itself; in the 32-bit
        // view the name is not redirected a second time.
        {"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", RegistryView::k64Bit, "Redirected"},
        {"SOFTWARE\\wow6432node\\Microsoft\\Windows\\CurrentVersion\\Run", RegistryView::k32Bit, "Redirected"},
        // Keys outside Software are the same in both views.
        {"SYSTEM\\ControlSet001\\Services\\Afd", RegistryView::k32Bit, "Start"},
        {"SYSTEM\\ControlSet001\\Services\\Afd", RegistryView::k64Bit, "Start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.subkey) + " in view " + std::to_string(static_cast<int>(c.view)));
        EXPECT_EQ(onlyValueIn(c.subkey, c.view), c.value);
    }
}

TEST_F(OfflineRegistryViewsTest, AValueDeletedInTheThirtyTwoBitViewGoesFromWow6432Node) {
    writeSixtyFourBitSoftware();
    presentMachine();
    ASSERT_TRUE(registry.splitThirtyTwoBitView("SOFTWARE"));
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry.openMachineKey(kAskedRun, kKeyAllAccess, RegistryView::k32Bit, key), kErrorSuccess);
    EXPECT_EQ(key->deleteValue("Redirected"), kErrorSuccess);
    key.reset();
    ASSERT_EQ(registry.commit().size(), 1u);
    const HiveContents after = readHiveContents(software);
    EXPECT_EQ(after.at(kRun32).count("Redirected"), 0u);
    EXPECT_EQ(after.at(kRun).count("Native"), 1u);
}

// A hive of 32-bit Windows has no Wow6432Node: one view, and a view named
// is refused as 32-bit Windows refuses it.
TEST_F(OfflineRegistryViewsTest, WithoutWow6432NodeThereIsOneView) {
    HiveBuilder(software).setString(kRun, "Native", "C:\\Windows\\System32\\a.exe").commit();
    presentMachine();
    EXPECT_FALSE(registry.splitThirtyTwoBitView("SOFTWARE"));
    EXPECT_FALSE(registry.splitThirtyTwoBitView("SAM"));  // not presented
    const RegistryViews views = registry.softwareViews();
    EXPECT_THAT(std::vector<RegistryView>(views.begin(), views.end()),
                ::testing::ElementsAre(RegistryView::kDefault));
    EXPECT_EQ(onlyValueIn(kAskedRun, RegistryView::kDefault), "Native");
    for (RegistryView named : {RegistryView::k64Bit, RegistryView::k32Bit}) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(registry.openMachineKey(kAskedRun, kKeyRead, named, key), kErrorInvalidParameter);
        EXPECT_FALSE(key);
    }
}

}  // namespace
}  // namespace brisko::testing
