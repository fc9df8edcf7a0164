#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/scan_session.h"
#include "tools/brisko_scan/command_line.h"

namespace brisko {
namespace {

constexpr ScanHost kVolume = ScanHost::kMountedVolume;
constexpr ScanHost kWindows = ScanHost::kRunningWindows;

std::string shown(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) text += "[" + argument + "]";
    return text;
}

TEST(BriskoScanCommandLineTest, ReadsTheOptionsAndTheFolder) {
    struct Case {
        ScanHost host;
        std::vector<std::string> arguments;
        std::int32_t action;
        std::string folder;
        std::string report = "";
        std::string log = "";
        RestartChoice restart = RestartChoice::kNever;
    };
    const Case cases[] = {
        {kVolume, {"/mnt/win"}, kActionLeave, "/mnt/win"},
        {kVolume, {"--action", "remove", "/mnt/win"}, kActionRemove, "/mnt/win"},
        {kVolume, {"--action", "rename", "/mnt/win"}, kActionRename, "/mnt/win"},
        {kVolume, {"/mnt/win", "--action", "leave"}, kActionLeave, "/mnt/win"},
        {kVolume, {"--action=remove", "/mnt/win"}, kActionRemove, "/mnt/win"},
        {kVolume, {"--", "-odd name"}, kActionLeave, "-odd name"},
        {kVolume, {"--report", "scan.json", "/mnt/win"}, kActionLeave, "/mnt/win", "scan.json"},
        {kVolume, {"--action=rename", "--report=r.json", "/mnt/win"}, kActionRename, "/mnt/win", "r.json"},
        {kVolume, {"--log", "scan.log", "/mnt/win"}, kActionLeave, "/mnt/win", "", "scan.log"},
        // brisko-scan.exe: no FOLDER is the whole system.
        {kWindows, {}, kActionLeave, ""},
        {kWindows, {"--action", "remove"}, kActionRemove, ""},
        {kWindows, {"D:\\data"}, kActionLeave, "D:\\data"},
        {kWindows, {"--restart", "force", "--action=remove"}, kActionRemove, "", "", "", RestartChoice::kForce},
        {kWindows, {"--restart=never"}, kActionLeave, "", "", "", RestartChoice::kNever},
        {kWindows,
         {"--action", "remove", "--restart", "force", "--log", "\\\\server\\logs\\scan.log", "--report", "r.json"},
         kActionRemove,
         "",
         "r.json",
         "\\\\server\\logs\\scan.log",
         RestartChoice::kForce},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(shown(c.arguments));
        std::string refusal = "left over";
        const std::optional<ScanRequest> request = parseCommandLine(c.arguments, c.host, refusal);
        ASSERT_TRUE(request.has_value());
        EXPECT_EQ(refusal, "");
        EXPECT_EQ(request->userAction, c.action);
        EXPECT_EQ(request->folder, c.folder);
        EXPECT_EQ(request->reportFile, c.report);
        EXPECT_EQ(request->logFile, c.log);
        EXPECT_EQ(request->restart, c.restart);
    }
}

TEST(BriskoScanCommandLineTest, RefusesWhatIsNotACommandLineOfItsHost) {
    struct Case {
        ScanHost host;
        std::vector<std::string> arguments;
        // A part of the reason given; empty: the usage alone says it.
        std::string reason = "";
    };
    const Case cases[] = {
        {kVolume, {"/mnt/win", "--report"}},
        {kVolume, {"--report=", "/mnt/win"}},
        {kVolume, {"--log", "", "/mnt/win"}},
        {kWindows, {"--log"}},
        {kVolume, {}, "FOLDER is needed"},
        {kVolume, {"--action", "remove"}, "FOLDER is needed"},
        {kVolume, {"--restart", "never", "/mnt/win"}, "--restart is for brisko-scan.exe"},
        {kVolume, {"--restart=force", "/mnt/win"}, "--restart is for brisko-scan.exe"},
        {kWindows, {"--restart", "later"}},
        {kWindows, {"--restart"}},
        {kVolume, {"--action", "delete", "/mnt/win"}},
        {kWindows, {"--action"}},
        {kVolume, {"/mnt/a", "/mnt/b"}},
        {kWindows, {"C:\\a", "D:\\b"}},
        {kVolume, {"--verbose", "/mnt/win"}},
        {kVolume, {""}},
        {kWindows, {""}},
        // An empty FOLDER must not turn into the whole system.
        {kWindows, {"--", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(shown(c.arguments));
        std::string refusal;
        EXPECT_FALSE(parseCommandLine(c.arguments, c.host, refusal).has_value());
        if (c.reason.empty()) {
            EXPECT_EQ(refusal, "");
        } else {
            EXPECT_NE(refusal.find(c.reason), std::string::npos) << refusal;
        }
    }
}

TEST(BriskoScanCommandLineTest, EachHostHasItsOwnUsage) {
    const std::string volume = usageOf(kVolume);
    const std::string windows = usageOf(kWindows);
    EXPECT_NE(volume.find("FOLDER\n"), std::string::npos);
    EXPECT_EQ(volume.find("--restart"), std::string::npos);
    EXPECT_NE(windows.find("[--restart never|force]"), std::string::npos);
    EXPECT_NE(windows.find("[FOLDER]"), std::string::npos);
    EXPECT_NE(windows.find("3010"), std::string::npos);
}

}  // namespace
}  // namespace brisko
