// Whether brisko.exe or brisko-scan.exe may start, over the simulated
// machine: one copy at a time, and administrator rights on the NT family.
#include <gtest/gtest.h>

#include <memory>

#include "base/program_identity.h"
#include "platform/administrator_rights.h"
#include "platform/fake/fake_machine.h"
#include "platform/single_instance.h"

namespace brisko {
namespace {

TEST(SingleInstanceTest, OneCopyAtATimeWhicheverProgramCameFirst) {
    fake::FakeMachine machine;
    std::unique_ptr<NamedClaim> first = claimSingleInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(claimSingleInstance(), nullptr);
    first.reset();
    EXPECT_NE(claimSingleInstance(), nullptr);
}

TEST(SingleInstanceTest, BriskoExeIsFoundByItsWindowAlone) {
    fake::FakeMachine machine;
    // A copy of brisko.exe from before the name was claimed shows only its
    // window.
    machine.fakeWindows().showOtherProgramWindow(programTitle);
    EXPECT_EQ(claimSingleInstance(), nullptr);
    EXPECT_FALSE(machine.fakeSystem().isClaimed(kRunningInstanceName));
    machine.fakeWindows().closeOtherProgramWindow(programTitle);
    machine.fakeWindows().showOtherProgramWindow("Brisko Ver 1.0 - Notepad");
    EXPECT_NE(claimSingleInstance(), nullptr);
}

TEST(AdministratorRightsTest, NeededOnTheNtFamilyOnly) {
    struct Case {
        const char* what;
        std::uint32_t platformId;
        std::uint32_t major;
        bool administrator;
        bool tokenRefused;
        bool holds;
    };
    const Case cases[] = {
        {"XP, administrator", kPlatformNt, 5, true, false, true},
        {"XP, plain account", kPlatformNt, 5, false, false, false},
        {"NT 4, plain account", kPlatformNt, 4, false, false, false},
        {"Windows 7, token refused", kPlatformNt, 6, true, true, false},
        // The 9x family has no rights to lack, and no token to ask.
        {"Windows 98", kPlatformWindows, 4, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::FakeMachine machine;
        machine.fakeControl().setVersion(c.platformId, c.major);
        if (!c.administrator) machine.fakePrivileges().removeAdministratorRights();
        if (c.tokenRefused) machine.fakePrivileges().refuseToken();
        EXPECT_EQ(holdsAdministratorRights(), c.holds);
        EXPECT_EQ(machine.fakePrivileges().openTokens(), 0);
    }
}

}  // namespace
}  // namespace brisko
