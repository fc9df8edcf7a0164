#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "memscan/restart.h"
#include "platform/fake/fake_machine.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t kForcedReboot = 6;

class RestartTest : public ::testing::Test {
protected:
    fake::FakeMachine machine;
    fake::FakePrivileges& token = machine.fakePrivileges();
    fake::FakeSystemControl& control = machine.fakeControl();
};

TEST_F(RestartTest, The9xFamilyRestartsWithoutAnyToken) {
    control.setVersion(kPlatformWindows, 4);
    token.refuseToken();
    EXPECT_EQ(restartSystem(), 1);
    EXPECT_EQ(token.tokenOpenings(), 0u);
    EXPECT_THAT(control.shutdownRequests(), ElementsAre(kForcedReboot));
}

TEST_F(RestartTest, OtherFamiliesEnableTheShutdownPrivilegeFirst) {
    for (bool versionKnown : {true, false}) {
        SCOPED_TRACE(versionKnown ? "NT" : "version unavailable");
        fake::FakeMachine fresh;
        if (!versionKnown) fresh.fakeControl().failVersion();
        fresh.fakeControl().setShutdownResult(1);
        EXPECT_EQ(restartSystem(), 1);
        EXPECT_TRUE(fresh.fakePrivileges().isEnabled("SeShutdownPrivilege"));
        EXPECT_EQ(fresh.fakePrivileges().openTokens(), 0);
        EXPECT_THAT(fresh.fakeControl().shutdownRequests(), ElementsAre(kForcedReboot));
    }
}

TEST_F(RestartTest, NoRestartWithoutThePrivilege) {
    token.withholdPrivilege("SeShutdownPrivilege");
    EXPECT_EQ(restartSystem(), 1300);
    EXPECT_THAT(control.shutdownRequests(), IsEmpty());
}

TEST_F(RestartTest, NoRestartWhenTheTokenCannotBeOpened) {
    token.refuseToken();
    EXPECT_EQ(restartSystem(), 0);
    EXPECT_THAT(control.shutdownRequests(), IsEmpty());
    EXPECT_THAT(control.systemMessages(), IsEmpty());
}

TEST_F(RestartTest, GivesTheResultOfTheRequest) {
    control.setShutdownResult(0);
    EXPECT_EQ(restartSystem(), 0);
    EXPECT_EQ(control.shutdownRequests().size(), 1u);
}

}  // namespace
}  // namespace brisko
