#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cleanup/variant_uninstall_cleanup.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using testing::ScanTest;

constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
// The same keys in the 32-bit view of 64-bit Windows, as 64-bit programs
// see it.
constexpr const char* kUninstallKey32 =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kRunKey32 = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

class VariantUninstallCleanupTest : public ScanTest {
protected:
    VariantUninstallCleanupTest() : ScanTest(testing::kStandInForMemoryScan) {}

    bool hasValue(const char* key, const char* name) {
        return machine.fakeRegistry().value(key, name).has_value();
    }
};

// Each case on a machine of its own.
TEST(VariantUninstallCleanupCasesTest, RemovesBothEntriesOnlyWhenTheirDataNamesTheVariant) {
    struct Case {
        const char* what;
        std::optional<std::string> uninstallString;  // none: no uninstall key at all
        const char* runValue;
        int result;
        bool uninstallStays;
        bool runStays;
    };
    const Case cases[] = {
        {"both entries of the variant", "C:\\WINDOWS\\uninstall.exe /x", "C:\\WINDOWS\\rhcjg7j0e38v.exe", 1, false,
         false},
        {"no uninstall key: nothing changes", std::nullopt, "C:\\WINDOWS\\rhcjg7j0e38v.exe", 0, false, true},
        {"capital U is another name", "C:\\WINDOWS\\Uninstall.exe", "C:\\WINDOWS\\rhcjg7j0e38v.exe", 1, true, false},
        {"a Run value with other data stays", "uninstall.exe", "C:\\tools\\helper.exe", 1, false, true},
        {"an uninstall string longer than its buffer is not read",
         "C:\\" + std::string(100, 'd') + "\\uninstall.exe", "rhcjg7j0e38v.exe", 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        if (c.uninstallString) machine.fakeRegistry().setString(kUninstallKey, "UninstallString", *c.uninstallString);
        machine.fakeRegistry().setString(kRunKey, "SMrhcjg7j0e38v", c.runValue);
        EXPECT_EQ(cleanVariantUninstallEntry(), c.result);
        if (c.uninstallString) {
            EXPECT_EQ(machine.fakeRegistry().value(kUninstallKey, "UninstallString").has_value(), c.uninstallStays);
            // The key itself stays.
            EXPECT_TRUE(machine.fakeRegistry().hasKey(kUninstallKey));
        }
        EXPECT_EQ(machine.fakeRegistry().value(kRunKey, "SMrhcjg7j0e38v").has_value(), c.runStays);
    }
}

TEST_F(VariantUninstallCleanupTest, OnceTheUninstallStringIsGoneLaterCallsChangeNothing) {
    machine.fakeRegistry().setString(kUninstallKey, "UninstallString", "uninstall.exe");
    machine.fakeRegistry().setString(kRunKey, "SMrhcjg7j0e38v", "rhcjg7j0e38v.exe");
    EXPECT_EQ(cleanVariantUninstallEntry(), 1);
    machine.fakeRegistry().setString(kRunKey, "SMrhcjg7j0e38v", "rhcjg7j0e38v.exe");
    EXPECT_EQ(cleanVariantUninstallEntry(), 0);
    EXPECT_TRUE(hasValue(kRunKey, "SMrhcjg7j0e38v"));
}

TEST_F(VariantUninstallCleanupTest, DataWithoutATerminatorIsReadOnlyWithinItsBuffer) {
    // 100 bytes of binary data, no terminator, the marker at its very end.
    std::string data(100 - 13, 'x');
    data += "uninstall.exe";
    machine.fakeRegistry().setValue(kUninstallKey, "UninstallString", kRegistryBinary,
                                    std::vector<std::uint8_t>(data.begin(), data.end()));
    machine.fakeRegistry().setString(kRunKey, "SMrhcjg7j0e38v", "other");
    EXPECT_EQ(cleanVariantUninstallEntry(), 1);
    EXPECT_FALSE(hasValue(kUninstallKey, "UninstallString"));
}

// On 64-bit Windows each view's entries are looked at, the program's own
// first; each case on a machine of its own.
TEST(VariantUninstallCleanupCasesTest, TheEntriesAreRemovedFromEachViewThatHasThem) {
    struct Case {
        const char* what;
        bool in64BitView;
        bool in32BitView;
        int result;
    };
    const Case cases[] = {
        {"in both views", true, true, 1},
        {"only in the 32-bit view", false, true, 1},
        {"only in the 64-bit view", true, false, 1},
        {"in neither", false, false, 0},
    };
    for (const fake::FakeBitness bitness :
         {fake::FakeBitness::k64BitProgram, fake::FakeBitness::k32BitProgramOnWow64}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(bitness == fake::FakeBitness::k64BitProgram ? "64-bit program, " : "WoW64, ") +
                         c.what);
            fake::FakeMachine machine;
            fake::FakeRegistry& registry = machine.fakeRegistry();
            registry.setBitness(bitness);
            if (c.in64BitView) registry.setString(kUninstallKey, "UninstallString", "C:\\Windows\\uninstall.exe");
            if (c.in32BitView) registry.setString(kUninstallKey32, "UninstallString", "C:\\Windows\\uninstall.exe");
            for (const char* run : {kRunKey, kRunKey32}) {
                registry.setString(run, "SMrhcjg7j0e38v", "C:\\Windows\\rhcjg7j0e38v.exe");
                registry.setString(run, "Tools", "C:\\Windows\\rhcjg7j0e38v.exe");
            }
            EXPECT_EQ(cleanVariantUninstallEntry(), c.result);
            EXPECT_FALSE(registry.value(kUninstallKey, "UninstallString").has_value());
            EXPECT_FALSE(registry.value(kUninstallKey32, "UninstallString").has_value());
            // A view's Run value goes only with its own uninstall string.
            EXPECT_EQ(registry.value(kRunKey, "SMrhcjg7j0e38v").has_value(), !c.in64BitView);
            EXPECT_EQ(registry.value(kRunKey32, "SMrhcjg7j0e38v").has_value(), !c.in32BitView);
            EXPECT_TRUE(registry.value(kRunKey, "Tools").has_value());
            EXPECT_TRUE(registry.value(kRunKey32, "Tools").has_value());
        }
    }
}

}  // namespace
}  // namespace brisko
