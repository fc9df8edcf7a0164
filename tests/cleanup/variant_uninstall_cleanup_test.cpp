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

}  // namespace
}  // namespace brisko
