#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/scan_session.h"
#include "tools/brisko_scan/command_line.h"

namespace brisko {
namespace {

TEST(BriskoScanCommandLineTest, ReadsTheActionAndTheFolder) {
    struct Case {
        std::vector<std::string> arguments;
        bool valid;
        std::int32_t action;
        std::string folder;
        std::string report = "";
    };
    const Case cases[] = {
        {{"/mnt/win"}, true, kActionLeave, "/mnt/win"},
        {{"--action", "remove", "/mnt/win"}, true, kActionRemove, "/mnt/win"},
        {{"--action", "rename", "/mnt/win"}, true, kActionRename, "/mnt/win"},
        {{"/mnt/win", "--action", "leave"}, true, kActionLeave, "/mnt/win"},
        {{"--action=remove", "/mnt/win"}, true, kActionRemove, "/mnt/win"},
        {{"--", "-odd name"}, true, kActionLeave, "-odd name"},
        {{"--report", "scan.json", "/mnt/win"}, true, kActionLeave, "/mnt/win", "scan.json"},
        {{"--action=rename", "--report=r.json", "/mnt/win"}, true, kActionRename, "/mnt/win", "r.json"},
        {{"/mnt/win", "--report"}, false, 0, ""},
        {{"--report=", "/mnt/win"}, false, 0, ""},
        {{}, false, 0, ""},
        {{"--action", "remove"}, false, 0, ""},
        {{"--action", "delete", "/mnt/win"}, false, 0, ""},
        {{"--action"}, false, 0, ""},
        {{"/mnt/a", "/mnt/b"}, false, 0, ""},
        {{"--verbose", "/mnt/win"}, false, 0, ""},
        {{""}, false, 0, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) shown += "[" + argument + "]";
        SCOPED_TRACE(shown);
        const std::optional<ScanRequest> request = parseCommandLine(c.arguments);
        ASSERT_EQ(request.has_value(), c.valid);
        if (!request) continue;
        EXPECT_EQ(request->userAction, c.action);
        EXPECT_EQ(request->folder, c.folder);
        EXPECT_EQ(request->reportFile, c.report);
    }
}

}  // namespace
}  // namespace brisko
