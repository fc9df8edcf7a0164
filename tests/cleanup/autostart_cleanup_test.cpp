#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cleanup/autostart_cleanup.h"
#include "cleanup/hosts_pattern.h"
#include "tests/support/hosts_texts.h"
#include "base/bounded_text.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ScanTest;

// Each key as 64-bit programs see it in either view of 64-bit Windows.
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kRun32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices32 = "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUninstall32 =
    "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kThreat = "W32/Krenot.Gn.PSW.Trojan";
constexpr const char* kWalkLine = "System Registry     W32/Krenot.Trojan removed";

// The text made up with arguments to length characters.
std::string padded(const std::string& text, std::size_t length) { return text + std::string(length - text.size(), 'a'); }

class AutostartCleanupTest : public ScanTest {
protected:
    AutostartCleanupTest() : ScanTest(testing::kStandInForMemoryScan) { machine.addWindowsInstallation(); }

    // What a detection cleans: the hosts file first, then the values.
    void clean(const char* infectedPath) {
        copyTruncated(scanSession.infectedPath, infectedPath);
        actions.cleanAfterDetection(scan, kThreat);
    }
    void set(const char* key, const char* name, const std::string& data) {
        machine.fakeRegistry().setString(key, name, data);
    }
    bool has(const char* key, const char* name) { return machine.fakeRegistry().value(key, name).has_value(); }
    // A removed value's event as "KEY|VALUE|VIEW".
    static std::string removal(const char* key, const char* value, const char* view) {
        return std::string(key) + "|" + value + "|" + view;
    }
};

TEST_F(AutostartCleanupTest, RemovesTheValuesThatStartTheInfectedFile) {
    struct Case {
        const char* what;
        std::string data;
        const char* infectedPath;
        bool removed;
    };
    const Case cases[] = {
        {"bare name of a file in system32", "x.exe", "C:\\WINDOWS\\SYSTEM32\\x.exe", true},
        {"bare name of a file elsewhere", "x.exe", "C:\\Temp\\x.exe", false},
        {"from the root", "\\windows\\system32\\x.exe", "C:\\WINDOWS\\SYSTEM32\\X.EXE", true},
        {"quoted path with an argument", "\"C:\\Program Files\\App\\X.EXE\" /min",
         "c:\\program files\\app\\x.exe", true},
        {"through the environment", "%SystemRoot%\\x.exe", "C:\\WINDOWS\\x.exe", true},
        {"short form of the path", "C:\\PROGRA~1\\APP\\X.EXE", "C:\\Program Files\\App\\x.exe", false},
        {"data longer than its buffer", "C:\\WINDOWS\\x.exe " + std::string(300, 'a'), "C:\\WINDOWS\\x.exe", false},
        // The buffer holds 260 characters and the terminator; data that does
        // not fit is not judged. %D% expands 7 characters longer: an expansion
        // that does not fit leaves only the data, which names no path.
        {"data of 259 characters", padded("C:\\WINDOWS\\x.exe ", 259), "C:\\WINDOWS\\x.exe", true},
        {"data of 260 characters, the buffer full", padded("C:\\WINDOWS\\x.exe ", 260), "C:\\WINDOWS\\x.exe", true},
        {"data of 261 characters", padded("C:\\WINDOWS\\x.exe ", 261), "C:\\WINDOWS\\x.exe", false},
        {"expansion of 259 characters", padded("%D%\\x.exe ", 252), "C:\\WINDOWS\\x.exe", true},
        {"expansion of 260 characters, the buffer full", padded("%D%\\x.exe ", 253), "C:\\WINDOWS\\x.exe", true},
        {"expansion of 261 characters", padded("%D%\\x.exe ", 254), "C:\\WINDOWS\\x.exe", false},
    };
    machine.fakeSystem().setEnvironmentVariable("D", "C:\\WINDOWS");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetRecords();
        set(kRun, "Updater", c.data);
        clean(c.infectedPath);
        EXPECT_EQ(has(kRun, "Updater"), !c.removed);
        EXPECT_EQ(reportLines(), c.removed ? std::vector<std::string>{kWalkLine} : std::vector<std::string>{});
        EXPECT_STREQ(scanSession.autostartValueName, c.removed ? "Updater" : "");
        std::memset(scanSession.autostartValueName, 0, sizeof scanSession.autostartValueName);
    }
}

TEST_F(AutostartCleanupTest, NeighboursThatBothMatchAreBothRemovedInBothKeys) {
    set(kRun, "Keep1", "C:\\WINDOWS\\notepad.exe");
    set(kRun, "One", "C:\\WINDOWS\\x.exe");
    set(kRun, "Two", "\"C:\\WINDOWS\\x.exe\"");
    set(kRun, "Keep2", "C:\\tools\\y.exe");
    set(kRunServices, "Three", "c:\\windows\\X.exe -s");
    clean("C:\\WINDOWS\\x.exe");
    EXPECT_FALSE(has(kRun, "One"));
    EXPECT_FALSE(has(kRun, "Two"));
    EXPECT_FALSE(has(kRunServices, "Three"));
    EXPECT_TRUE(has(kRun, "Keep1"));
    EXPECT_TRUE(has(kRun, "Keep2"));
    EXPECT_THAT(reportLines(), ElementsAre(kWalkLine, kWalkLine, kWalkLine));
    EXPECT_STREQ(scanSession.autostartValueName, "Three");
}

TEST_F(AutostartCleanupTest, ARememberedNameIsRemovedAgainFromAllThreeKeysAtLaterDetections) {
    std::strcpy(scanSession.autostartValueName, "Updater");
    set(kRun, "Updater", "anything at all");
    set(kRunServices, "Updater", "anything");
    set(kUninstall, "Updater", "anything");
    clean("");
    EXPECT_FALSE(has(kRun, "Updater"));
    EXPECT_FALSE(has(kRunServices, "Updater"));
    EXPECT_FALSE(has(kUninstall, "Updater"));
    EXPECT_TRUE(machine.fakeRegistry().hasKey(kUninstall));
    const std::string line = std::string("System Registry     ") + kThreat + " removed";
    EXPECT_THAT(reportLines(), ElementsAre(line, line, line));
    EXPECT_STREQ(scanSession.autostartValueName, "Updater");
}

// On 64-bit Windows a 32-bit trojan's values stand in the 32-bit view, and
// Windows starts the Run values of both views.
struct Bitness {
    const char* name;
    fake::FakeBitness bitness;
    // The views as the events name them, the program's own first.
    const char* own;
    const char* other;
};
constexpr const char* kWow64Infected = "C:\\Windows\\SysWOW64\\netsvc32.exe";
const Bitness kSixtyFourBitWindows[] = {
    {"64-bit program", fake::FakeBitness::k64BitProgram, "64-bit", "32-bit"},
    {"32-bit program under WoW64", fake::FakeBitness::k32BitProgramOnWow64, "32-bit", "64-bit"},
};

TEST_F(AutostartCleanupTest, RunValuesOfBothViewsAreJudgedAndTheOwnViewComesFirst) {
    for (const Bitness& b : kSixtyFourBitWindows) {
        SCOPED_TRACE(b.name);
        machine.fakeRegistry().setBitness(b.bitness);
        resetRecords();
        frontEnd.removedValues.clear();
        set(kRun, "netsvc", kWow64Infected);
        set(kRun32, "netsvc", kWow64Infected);
        set(kRunServices32, "svc", std::string("\"") + kWow64Infected + "\" -s");
        set(kRun, "Tools", "C:\\Program Files\\Tools\\tools.exe");
        set(kRun32, "Tools", "C:\\Program Files (x86)\\Tools\\tools.exe");
        // The same file named in a way that is not the infected one stays.
        set(kRun32, "Other", "C:\\Windows\\System32\\netsvc32.exe");

        clean(kWow64Infected);

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

TEST_F(AutostartCleanupTest, ARememberedNameIsRemovedFromTheThreeKeysOfBothViews) {
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

TEST_F(AutostartCleanupTest, OnThirtyTwoBitWindowsTheEventNamesNoView) {
    set(kRun, "netsvc", "C:\\WINDOWS\\SYSTEM\\netsvc32.exe");
    clean("C:\\WINDOWS\\SYSTEM\\netsvc32.exe");
    EXPECT_FALSE(has(kRun, "netsvc"));
    EXPECT_THAT(frontEnd.removedValues, ElementsAre(removal(kRun, "netsvc", "-")));
}

TEST_F(AutostartCleanupTest, WithoutAReportWindowValuesGoButNoLineIsPosted) {
    scanSession.reportWindow = 0;
    set(kRun, "One", "C:\\WINDOWS\\x.exe");
    clean("C:\\WINDOWS\\x.exe");
    EXPECT_FALSE(has(kRun, "One"));
    // Nothing was even formatted for a window: no line went anywhere.
    EXPECT_STREQ(scanSession.reportLine, "");
    EXPECT_TRUE(reportLines().empty());
}

TEST_F(AutostartCleanupTest, ANameTooLongToRememberIsNotCut) {
    const std::string longName(200, 'n');
    set(kRun, longName.c_str(), "C:\\WINDOWS\\x.exe");
    std::strcpy(scanSession.autostartValueName, "Earlier");
    clean("C:\\WINDOWS\\x.exe");
    EXPECT_FALSE(has(kRun, longName.c_str()));
    EXPECT_STREQ(scanSession.autostartValueName, "Earlier");
}

TEST_F(AutostartCleanupTest, TheHostsFileOfTheRunningFamilyIsCheckedFirst) {
    const std::string infected = testing::infectedHostsText();
    machine.writeFile("C:\\WINDOWS\\SYSTEM32\\drivers\\etc\\hosts", infected);
    machine.writeFile("C:\\WINDOWS\\hosts", infected);
    scanSession.userAction = kActionLeave;
    struct Case {
        std::uint32_t platformId;
        const char* hostsPath;
    };
    const Case cases[] = {
        {kPlatformNt, "C:\\WINDOWS\\SYSTEM32\\drivers\\etc\\hosts"},
        {kPlatformWindows, "C:\\WINDOWS\\hosts"},
        {3, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platformId);
        resetRecords();
        machine.fakeControl().setVersion(c.platformId, 5);
        // A Run value that starts the infected file: its line must come
        // after the hosts line. No name is remembered from the case before.
        scanSession.autostartValueName[0] = '\0';
        set(kRun, "Updater", "C:\\WINDOWS\\x.exe");
        clean("C:\\WINDOWS\\x.exe");
        if (c.hostsPath == nullptr) {
            EXPECT_THAT(reportLines(), ElementsAre(kWalkLine));
        } else {
            EXPECT_THAT(reportLines(),
                        ElementsAre(std::string(c.hostsPath) +
                                        "     W32/Pelto.Worm Not Disinfected As Per User's Selection",
                                    kWalkLine));
        }
        EXPECT_FALSE(has(kRun, "Updater"));
    }
}

}  // namespace
}  // namespace brisko
