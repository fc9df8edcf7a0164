// The simulated system's version, message boxes, shutdown requests, opened
// addresses, exit and text conversion, and its access token.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {
namespace {

using ::testing::ElementsAre;

TEST(FakeSystemControlTest, RecordsWhatIsAskedAndThrowsOnExit) {
    FakeMachine machine;
    SystemVersion version{};
    ASSERT_TRUE(systemControl().queryVersion(version));
    EXPECT_EQ(version.platformId, kPlatformNt);
    machine.fakeControl().failVersion();
    EXPECT_FALSE(systemControl().queryVersion(version));

    EXPECT_EQ(systemControl().showSystemMessage("text", "caption", 0), 1);
    ASSERT_EQ(machine.fakeControl().systemMessages().size(), 1u);
    EXPECT_EQ(machine.fakeControl().systemMessages()[0].caption, "caption");
    machine.fakeControl().setShutdownResult(0);
    EXPECT_EQ(systemControl().requestShutdown(6), 0);
    EXPECT_THAT(machine.fakeControl().shutdownRequests(), ElementsAre(6u));
    systemControl().openAddress("http://www.example.test/tools/");
    systemControl().openAddress("http://www.example.test/");
    EXPECT_THAT(machine.fakeControl().openedAddresses(),
                ElementsAre("http://www.example.test/tools/", "http://www.example.test/"));
    EXPECT_THROW(systemControl().exitProgram(0), ProgramExited);
}

TEST(FakeSystemControlTest, ConvertsAsciiThatFits) {
    FakeMachine machine;
    const std::uint16_t ascii[] = {'a', 'b', 0};
    const std::uint16_t accented[] = {'a', 0xE9, 0};
    char buffer[3];
    EXPECT_EQ(systemControl().convertWideText(ascii, buffer, 3), 3);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(systemControl().convertWideText(ascii, buffer, 2), 0);
    EXPECT_EQ(systemControl().convertWideText(accented, buffer, 3), 0);
}

TEST(FakePrivilegesTest, TokensRefuseOrWithholdAsSet) {
    FakeMachine machine;
    machine.fakePrivileges().withholdPrivilege("SeShutdownPrivilege");
    std::unique_ptr<AccessToken> token = privileges().openOwnToken(kTokenAdjustPrivileges | kTokenQuery);
    EXPECT_EQ(token->enablePrivilege("SeShutdownPrivilege"), kErrorNotAllAssigned);
    EXPECT_EQ(token->enablePrivilege("SeDebugPrivilege"), 0u);
    EXPECT_TRUE(machine.fakePrivileges().isEnabled("SeDebugPrivilege"));
    EXPECT_FALSE(machine.fakePrivileges().isEnabled("SeShutdownPrivilege"));
    EXPECT_EQ(machine.fakePrivileges().openTokens(), 1);
    token.reset();
    machine.fakePrivileges().refuseToken();
    EXPECT_EQ(privileges().openOwnToken(kTokenAdjustPrivileges), nullptr);
    EXPECT_EQ(machine.fakePrivileges().openTokens(), 0);
}

}  // namespace
}  // namespace brisko::fake
