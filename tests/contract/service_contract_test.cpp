// The service operations on a real service of ours (a tiny service program
// under Wine, a simulated one natively), and the deletion of its entries.
#include <gtest/gtest.h>

#include <string>

#include "memscan/service_cleanup.h"
#include "tests/contract/file_system_contract.h"

namespace brisko {
namespace {

class ServiceContract : public FileSystemContract {
protected:
    ServiceContract() { installPlatform(&backend_->platform()); }
    ~ServiceContract() override { installPlatform(nullptr); }
};

TEST_F(ServiceContract, StopsARunningServiceOnce) {
    backend_->startService("BriskoSleepSvc");
    EXPECT_EQ(stopService("BriskoSleepSvc"), 1);
    EXPECT_EQ(stopService("BriskoSleepSvc"), 0);
}

TEST_F(ServiceContract, AnUnknownServiceIsNotStopped) { EXPECT_EQ(stopService("BriskoNoSuchSvc"), 0); }

TEST_F(ServiceContract, DeletesTheEntriesUnderBothControlSets) {
    // A fresh Wine prefix has no ControlSet001 at all.
    const std::string first = "SYSTEM\\ControlSet001\\Services\\BriskoKeysSvc";
    const std::string second = "SYSTEM\\ControlSet002\\Services\\BriskoKeysSvc";
    for (const std::string& key : {first + "\\Enum", first + "\\Security", second + "\\Enum"}) {
        backend_->makeMachineKey(key);
    }
    EXPECT_EQ(deleteServiceEntries("BriskoKeysSvc"), 1);
    EXPECT_FALSE(backend_->machineKeyExists(first));
    EXPECT_FALSE(backend_->machineKeyExists(second));
    EXPECT_TRUE(backend_->machineKeyExists("SYSTEM\\ControlSet001\\Services"));
    EXPECT_EQ(deleteServiceEntries("BriskoKeysSvc"), 0);
}

}  // namespace
}  // namespace brisko
