#include <gtest/gtest.h>

#include "platform/system_family.h"
#include "platform/fake/fake_machine.h"

namespace brisko {
namespace {

TEST(SystemFamilyTest, FamilyAndGenerationFollowTheReportedVersion) {
    struct Case {
        const char* name;
        bool available;
        std::uint32_t platformId;
        std::uint32_t major;
        SystemFamily family;
        NtGeneration generation;
    };
    const Case cases[] = {
        {"unavailable", false, 0, 0, kFamilyUndetermined, kGenerationNone},
        {"Win32s", true, kPlatformWin32s, 3, kFamilyOther, kGenerationNone},
        {"platform 3", true, 3, 5, kFamilyOther, kGenerationNone},
        {"Windows 98", true, kPlatformWindows, 4, kFamilyWindows9x, kGenerationNone},
        {"NT 3.51", true, kPlatformNt, 3, kFamilyNt, kGenerationNt4},
        {"NT 4.0", true, kPlatformNt, 4, kFamilyNt, kGenerationNt4},
        {"Windows XP", true, kPlatformNt, 5, kFamilyNt, kGenerationNt5},
        {"Windows 7", true, kPlatformNt, 6, kFamilyNt, kGenerationNone},
        {"Windows 10", true, kPlatformNt, 10, kFamilyNt, kGenerationNone},
    };
    fake::FakeMachine machine;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.available) machine.fakeControl().setVersion(c.platformId, c.major);
        else machine.fakeControl().failVersion();
        EXPECT_EQ(platformFamily(), c.family);
        EXPECT_EQ(ntGeneration(), c.generation);
    }
}

}  // namespace
}  // namespace brisko
