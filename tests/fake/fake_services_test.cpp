// The simulated service control manager: stop controls, pending states and
// the handles it counts.
#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

namespace brisko::fake {
namespace {

TEST(FakeServicesTest, AStopStaysPendingForTheGivenQueries) {
    FakeMachine machine;
    machine.fakeServices().add("Slow").stopPendingQueries = 2;
    std::unique_ptr<ServiceManager> manager = services().openManager(kServiceManagerAllAccess);
    std::unique_ptr<OpenedService> service = manager->openService("slow", kServiceAllAccess);
    ASSERT_NE(service, nullptr);
    EXPECT_EQ(machine.fakeServices().openHandles(), 2);
    std::uint32_t state = 0;
    ASSERT_TRUE(service->stop(state));
    EXPECT_EQ(state, kServiceStopPending);
    for (std::uint32_t expected : {kServiceStopPending, kServiceStopPending, kServiceStopped}) {
        ASSERT_TRUE(service->queryState(state));
        EXPECT_EQ(state, expected);
    }
    EXPECT_FALSE(service->stop(state));
    service.reset();
    manager.reset();
    EXPECT_EQ(machine.fakeServices().openHandles(), 0);
}

TEST(FakeServicesTest, RefusalsAreTheTestsToSet) {
    FakeMachine machine;
    machine.fakeServices().add("locked").refusesOpen = true;
    machine.fakeServices().add("stubborn").refusesStop = true;
    std::unique_ptr<ServiceManager> manager = services().openManager(kServiceManagerAllAccess);
    EXPECT_EQ(manager->openService("locked", kServiceAllAccess), nullptr);
    EXPECT_EQ(manager->openService("absent", kServiceAllAccess), nullptr);
    std::uint32_t state = 0;
    EXPECT_FALSE(manager->openService("stubborn", kServiceAllAccess)->stop(state));
    EXPECT_EQ(machine.fakeServices().service("stubborn").state, kServiceRunning);
    machine.fakeServices().refuseManager();
    EXPECT_EQ(services().openManager(kServiceManagerAllAccess), nullptr);
}

}  // namespace
}  // namespace brisko::fake
