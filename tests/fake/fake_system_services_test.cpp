// The simulated clock: a sleep returns at once and is only added up, so a
// test can see how long the program would have waited.
#include <gtest/gtest.h>

#include <climits>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {
namespace {

TEST(FakeSystemServices, SleepsAddUpWithoutWaiting) {
    FakeMachine machine;
    FakeSystemServices& clock = machine.fakeSystem();
    EXPECT_EQ(clock.sleptMilliseconds(), 0u);

    systemServices().sleepMilliseconds(250);
    systemServices().sleepMilliseconds(0);
    clock.sleepMilliseconds(1000);
    EXPECT_EQ(clock.sleptMilliseconds(), 1250u);

    // Two sleeps of 49 days each: this test would not end if they waited,
    // and their sum does not fit the type of one sleep.
    systemServices().sleepMilliseconds(UINT_MAX);
    systemServices().sleepMilliseconds(UINT_MAX);
    EXPECT_EQ(clock.sleptMilliseconds(), 1250ull + 2ull * UINT_MAX);
}

}  // namespace
}  // namespace brisko::fake
