#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "cleanup/service_image_cleanup.h"
#include "platform/fake/fake_machine.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;

constexpr const char* kFile = "c:\\windows\\system32\\evil.exe";
constexpr const char* kWindows = "C:\\WINDOWS";

TEST(ServiceImageCleanupTest, ImagePathsNameTheFileInEveryForm) {
    struct Case {
        const char* imagePath;
        bool names;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\System32\\evil.exe", true},
        {"\"C:\\Windows\\System32\\EVIL.EXE\" -service", true},
        {"C:\\Windows\\System32\\evil.exe /k", true},
        {"\\SystemRoot\\System32\\evil.exe", true},
        {"%SystemRoot%\\System32\\evil.exe", true},
        {"\\??\\C:\\Windows\\System32\\evil.exe", true},
        {"System32\\evil.exe", true},
        // Another file whose name only begins the same.
        {"C:\\Windows\\System32\\evil.exe2", false},
        {"C:\\Windows\\System32\\evil.ex", false},
        {"C:\\Windows\\System32\\svchost.exe -k netsvcs", false},
        {"\\SystemRoot\\System32\\drivers\\evil.exe", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.imagePath);
        EXPECT_EQ(imagePathNames(c.imagePath, kFile, kWindows), c.names);
    }
}

TEST(ServiceImageCleanupTest, TheServicesOfTheFileGoWithEverythingUnderThemInEveryControlSet) {
    fake::FakeMachine machine;
    fake::FakeRegistry& keys = machine.fakeRegistry();
    for (const std::string set : {"ControlSet001", "ControlSet002"}) {
        const std::string services = "SYSTEM\\" + set + "\\Services\\";
        keys.setString(services + "EvilSvc", "ImagePath", "\\SystemRoot\\System32\\evil.exe");
        keys.setString(services + "EvilSvc\\Parameters", "Mode", "1");
        keys.addKey(services + "EvilSvc\\Enum");
        keys.setString(services + "Spooler", "ImagePath", "%SystemRoot%\\System32\\spoolsv.exe");
    }
    keys.setString("SYSTEM\\Select", "Current", "1");

    EXPECT_THAT(deleteServicesRunning(kFile, kWindows), ElementsAre("EvilSvc"));
    for (const std::string set : {"ControlSet001", "ControlSet002"}) {
        SCOPED_TRACE(set);
        const std::string services = "SYSTEM\\" + set + "\\Services\\";
        EXPECT_FALSE(keys.hasKey(services + "EvilSvc"));
        EXPECT_FALSE(keys.hasKey(services + "EvilSvc\\Parameters"));
        EXPECT_TRUE(keys.hasKey(services + "Spooler"));
    }
    EXPECT_TRUE(keys.hasKey("SYSTEM\\Select"));
    EXPECT_TRUE(deleteServicesRunning(kFile, kWindows).empty());
}

}  // namespace
}  // namespace brisko
