#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "memscan/service_cleanup.h"
#include "platform/fake/fake_machine.h"

namespace brisko {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ServiceCleanupTest : public ::testing::Test {
protected:
    fake::FakeMachine machine;
    fake::FakeServices& services = machine.fakeServices();
    fake::FakeRegistry& registry = machine.fakeRegistry();
};

TEST_F(ServiceCleanupTest, StopWaitsOneSecondPerPendingPoll) {
    struct Case {
        unsigned pendingQueries;
        int stopped;
        unsigned long long waited;
    };
    const Case cases[] = {{0, 1, 0}, {3, 1, 3000}, {30, 1, 30000}, {31, 0, 30000}, {1000, 0, 30000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pendingQueries);
        fake::FakeMachine fresh;
        fake::FakeService& service = fresh.fakeServices().add("svc1");
        service.stopPendingQueries = c.pendingQueries;
        EXPECT_EQ(stopService("SVC1"), c.stopped);
        EXPECT_EQ(fresh.fakeSystem().sleptMilliseconds(), c.waited);
        EXPECT_EQ(fresh.fakeServices().openHandles(), 0);
    }
}

TEST_F(ServiceCleanupTest, StoppingEndsTheServiceProcess) {
    const std::uint32_t process = machine.fakeProcesses().start("");
    services.add("svc1").processId = process;
    EXPECT_EQ(stopService("svc1"), 1);
    EXPECT_FALSE(machine.fakeProcesses().isRunning(process));
}

TEST_F(ServiceCleanupTest, NothingStopsWithoutManagerServiceOrControl) {
    services.add("locked").refusesOpen = true;
    services.add("stubborn").refusesStop = true;
    for (const char* name : {"absent", "locked", "stubborn"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(stopService(name), 0);
        EXPECT_EQ(services.openHandles(), 0);
    }
    services.add("svc1");
    services.refuseManager();
    EXPECT_EQ(stopService("svc1"), 0);
    EXPECT_EQ(services.service("svc1").state, kServiceRunning);
}

TEST_F(ServiceCleanupTest, DeletesTheSixKeysInOrder) {
    registry.addKey("SYSTEM\\ControlSet001\\Services\\svc1\\Enum");
    registry.addKey("SYSTEM\\ControlSet001\\Services\\svc1\\Security");
    EXPECT_EQ(deleteServiceEntries("svc1"), 1);
    EXPECT_THAT(registry.deletionsAsked(),
                ElementsAre("SYSTEM\\ControlSet001\\Services\\svc1\\Enum",
                            "SYSTEM\\ControlSet001\\Services\\svc1\\Security",
                            "SYSTEM\\ControlSet001\\Services\\svc1",
                            "SYSTEM\\CONTROLSET002\\SERVICES\\svc1\\Enum",
                            "SYSTEM\\ControlSet002\\Services\\svc1\\Security",
                            "SYSTEM\\ControlSet002\\Services\\svc1"));
    EXPECT_FALSE(registry.hasKey("SYSTEM\\ControlSet001\\Services\\svc1"));
    EXPECT_TRUE(registry.hasKey("SYSTEM\\ControlSet001\\Services"));
}

TEST_F(ServiceCleanupTest, AKeyLeftBehindDoesNotStopTheOthers) {
    registry.addKey("SYSTEM\\ControlSet002\\Services\\svc1\\Enum");
    registry.addKey("SYSTEM\\ControlSet002\\Services\\svc1\\Other");
    EXPECT_EQ(deleteServiceEntries("svc1"), 1);
    EXPECT_EQ(registry.deletionsAsked().size(), 6u);
    EXPECT_TRUE(registry.hasKey("SYSTEM\\ControlSet002\\Services\\svc1"));
}

TEST_F(ServiceCleanupTest, NoKeysNoDeletion) {
    registry.addKey("SYSTEM\\ControlSet001\\Services\\other");
    EXPECT_EQ(deleteServiceEntries("svc1"), 0);
    EXPECT_EQ(registry.deletionsAsked().size(), 6u);
}

TEST_F(ServiceCleanupTest, AnEmptyNameDeletesNothing) {
    registry.addKey("SYSTEM\\ControlSet001\\Services");
    EXPECT_EQ(deleteServiceEntries(""), 0);
    EXPECT_THAT(registry.deletionsAsked(), IsEmpty());
    EXPECT_TRUE(registry.hasKey("SYSTEM\\ControlSet001\\Services"));
}

TEST_F(ServiceCleanupTest, DeleteMachineKeyTellsSuccess) {
    registry.addKey("SOFTWARE\\Gone");
    registry.addKey("SOFTWARE\\Held\\Sub");
    EXPECT_EQ(deleteMachineKey("software\\gone"), 1);
    EXPECT_EQ(deleteMachineKey("SOFTWARE\\Gone"), 0);
    EXPECT_EQ(deleteMachineKey("SOFTWARE\\Held"), 0);
}

}  // namespace
}  // namespace brisko
