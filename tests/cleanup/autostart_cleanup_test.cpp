#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cleanup/autostart_cleanup.h"
#include "cleanup/hosts_pattern.h"
#include "tests/support/hosts_texts.h"
#include "base/bounded_text.h"
#include "tests/support/scan_fixture.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using testing::ScanTest;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kThreat = "W32/Krenot.Gn.PSW.Trojan";
constexpr const char* kWalkLine = "System Registry     W32/Krenot.Trojan removed";

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
    };
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
