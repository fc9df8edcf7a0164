// What brisko-scan.exe asks before it scans, and brisko.exe before it
// shows its window: whether another copy runs, by its window title and by
// the name both programs claim, and whether the program acts as an
// administrator.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/contract/contract_backend.h"

namespace brisko {
namespace {

class RunningInstanceContract : public ::testing::Test {
protected:
    std::unique_ptr<ContractBackend> backend_ = makeContractBackend();
    Platform& platform_ = backend_->platform();
};

TEST_F(RunningInstanceContract, AClaimedNameIsRefusedUntilItsClaimEnds) {
    SystemServices& system = platform_.system();
    std::unique_ptr<NamedClaim> first = system.claimName("Brisko contract claim");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(system.claimName("Brisko contract claim"), nullptr);
    EXPECT_NE(system.claimName("Brisko contract claim 2"), nullptr);
    first.reset();
    EXPECT_NE(system.claimName("Brisko contract claim"), nullptr);
}

TEST_F(RunningInstanceContract, AWindowIsFoundByItsWholeTitleWhileItIsOpen) {
    WindowMessaging& windows = platform_.windows();
    EXPECT_FALSE(windows.windowTitled("Brisko contract window"));
    if (!backend_->showTitledWindow("Brisko contract window")) {
        GTEST_SKIP() << "no display for a top-level window: win32_window_title_tests runs this with one";
    }
    EXPECT_TRUE(windows.windowTitled("Brisko contract window"));
    EXPECT_FALSE(windows.windowTitled("Brisko contract"));
    EXPECT_FALSE(windows.windowTitled("Brisko contract window 2"));
    backend_->closeTitledWindows();
    EXPECT_FALSE(windows.windowTitled("Brisko contract window"));
}

// Both backends run the tests as an administrator: Wine's user is one, and
// so is the simulated machine's until a test says otherwise.
TEST_F(RunningInstanceContract, TheTokenTellsAdministratorRightsOnlyWhenOpenedToQuery) {
    const std::unique_ptr<AccessToken> queried = platform_.privileges().openOwnToken(kTokenQuery);
    ASSERT_NE(queried, nullptr);
    EXPECT_TRUE(queried->actsAsAdministrator());
    const std::unique_ptr<AccessToken> adjusting = platform_.privileges().openOwnToken(kTokenAdjustPrivileges);
    ASSERT_NE(adjusting, nullptr);
    EXPECT_FALSE(adjusting->actsAsAdministrator());
}

}  // namespace
}  // namespace brisko
