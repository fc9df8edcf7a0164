// The registry cleanup on 64-bit Windows, where HKEY_LOCAL_MACHINE\Software
// has a view for 64-bit programs and one for 32-bit programs
// (Software\Wow6432Node as 64-bit programs see it): a 32-bit trojan writes
// to the 32-bit view, and Windows starts the Run values of both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/bounded_text.h"
#include "cleanup/autostart_cleanup.h"
#include "cleanup/variant_uninstall_cleanup.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ScanTest;

// Each key as 64-bit programs see it in either view.
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRun32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kRunServices32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kUninstall32 =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kInfected = "C:\\Windows\\SysWOW64\\netsvc32.exe";
constexpr const char* kWalkLine = "System Registry     W32/Krenot.Trojan removed";

struct Bitness {
    const char* name;
    fake::FakeBitness bitness;
    // The views as the events name them, the program's own first.
    const char* own;
    const char* other;
};
const Bitness kSixtyFourBitWindows[] = {
    {"64-bit program", fake::FakeBitness::k64BitProgram, "64-bit", "32-bit"},
    {"32-bit program under WoW64", fake::FakeBitness::k32BitProgramOnWow64, "32-bit", "64-bit"},
};

class RegistryViewsTest : public ScanTest {
protected:
    RegistryViewsTest() : ScanTest(testing::kStandInForMemoryScan) { machine.addWindowsInstallation(); }

    void clean(const char* infectedPath) {
        copyTruncated(scanSession.infectedPath, infectedPath);
        actions.cleanAfterDetection(scan, "W32/Krenot.Gn.PSW.Trojan");
    }
    void set(const char* key, const char* name, const std::string& data) {
        machine.fakeRegistry().setString(key, name, data);
    }
    bool has(const char* key, const char* name) { return machine.fakeRegistry().value(key, name).has_value(); }
    // The removed values' events as "KEY|VALUE|VIEW".
    static std::string removal(const char* key, const char* value, const char* view) {
        return std::string(key) + "|" + value + "|" + view;
    }
};

TEST_F(RegistryViewsTest, RunValuesOfBothViewsAreJudgedAndTheOwnViewComesFirst) {
    for (const Bitness& b : kSixtyFourBitWindows) {
        SCOPED_TRACE(b.name);
        machine.fakeRegistry().setBitness(b.bitness);
        resetRecords();
        frontEnd.removedValues.clear();
        set(kRun, "netsvc", kInfected);
        set(kRun32, "netsvc", kInfected);
        set(kRunServices32, "svc", std::string("\"") + kInfected + "\" -s");
        set(kRun, "Tools", "C:\\Program Files\\Tools\\tools.exe");
        set(kRun32, "Tools", "C:\\Program Files (x86)\\Tools\\tools.exe");
        // The same file named in a way that is not the infected one stays.
        set(kRun32, "Other", "C:\\Windows\\System32\\netsvc32.exe");

        clean(kInfected);

        EXPECT_FALSE(has(kRun, "netsvc"));
        EXPECT_FALSE(has(kRun32, "netsvc"));
        EXPECT_FALSE(has(kRunServices32, "svc"));
        EXPECT_TRUE(has(kRun, "Tools"));
        EXPECT_TRUE(has(kRun32, "Tools"));
        EXPECT_TRUE(has(kRun32, "Other"));
        EXPECT_THAT(reportLines(), ElementsAre(kWalkLine, kWalkLine, kWalkLine));
        // Each key is named as the program asks for it; the view tells them apart.
        const bool ownIs64Bit = std::string(b.own) == "64-bit";
        const std::vector<std::string> expected{
            removal(kRun, "netsvc", b.own),
            ownIs64Bit ? removal(kRun, "netsvc", b.other) : removal(kRunServices, "svc", b.own),
            ownIs64Bit ? removal(kRunServices, "svc", b.other) : removal(kRun, "netsvc", b.other),
        };
        EXPECT_THAT(frontEnd.removedValues, ElementsAreArray(expected));
        std::memset(scanSession.autostartValueName, 0, sizeof scanSession.autostartValueName);
    }
}

TEST_F(RegistryViewsTest, ARememberedNameIsRemovedFromTheThreeKeysOfBothViews) {
    machine.fakeRegistry().setBitness(fake::FakeBitness::k64BitProgram);
    copyTruncated(scanSession.autostartValueName, "Updater");
    for (const char* key : {kRun, kRunServices, kUninstall, kRun32, kRunServices32, kUninstall32}) {
        set(key, "Updater", "anything");
    }
    set(kRun32, "Kept", "anything");
    clean("");
    for (const char* key : {kRun, kRunServices, kUninstall, kRun32, kRunServices32, kUninstall32}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(has(key, "Updater"));
    }
    EXPECT_TRUE(has(kRun32, "Kept"));
    EXPECT_EQ(reportLines().size(), 6u);
}

TEST_F(RegistryViewsTest, OnThirtyTwoBitWindowsNoViewIsEverNamed) {
    // The simulated 32-bit Windows refuses a named view, as some versions do:
    // a cleanup that named one would remove nothing here.
    set(kRun, "netsvc", "C:\\WINDOWS\\SYSTEM\\netsvc32.exe");
    set(kUninstall, "UninstallString", "C:\\WINDOWS\\uninstall.exe");
    set(kRun, "SMrhcjg7j0e38v", "C:\\WINDOWS\\rhcjg7j0e38v.exe");
    clean("C:\\WINDOWS\\SYSTEM\\netsvc32.exe");
    EXPECT_EQ(cleanVariantUninstallEntry(), 1);
    EXPECT_FALSE(has(kRun, "netsvc"));
    EXPECT_FALSE(has(kUninstall, "UninstallString"));
    EXPECT_FALSE(has(kRun, "SMrhcjg7j0e38v"));
    EXPECT_THAT(frontEnd.removedValues, ElementsAre(removal(kRun, "netsvc", "-")));
}

TEST_F(RegistryViewsTest, TheVariantEntriesAreRemovedFromEachViewThatHasThem) {
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
    for (const Bitness& b : kSixtyFourBitWindows) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(b.name) + ", " + c.what);
            fake::FakeMachine machine;
            fake::FakeRegistry& registry = machine.fakeRegistry();
            registry.setBitness(b.bitness);
            if (c.in64BitView) registry.setString(kUninstall, "UninstallString", "C:\\Windows\\uninstall.exe");
            if (c.in32BitView) registry.setString(kUninstall32, "UninstallString", "C:\\Windows\\uninstall.exe");
            for (const char* run : {kRun, kRun32}) {
                registry.setString(run, "SMrhcjg7j0e38v", "C:\\Windows\\rhcjg7j0e38v.exe");
                registry.setString(run, "Tools", "C:\\Windows\\rhcjg7j0e38v.exe");
            }
            EXPECT_EQ(cleanVariantUninstallEntry(), c.result);
            EXPECT_FALSE(registry.value(kUninstall, "UninstallString").has_value());
            EXPECT_FALSE(registry.value(kUninstall32, "UninstallString").has_value());
            // A view's Run value goes only with its own uninstall string.
            EXPECT_EQ(registry.value(kRun, "SMrhcjg7j0e38v").has_value(), !c.in64BitView);
            EXPECT_EQ(registry.value(kRun32, "SMrhcjg7j0e38v").has_value(), !c.in32BitView);
            EXPECT_TRUE(registry.value(kRun, "Tools").has_value());
            EXPECT_TRUE(registry.value(kRun32, "Tools").has_value());
        }
    }
}

}  // namespace
}  // namespace brisko
