#pragma once
// The simulated machine's service control manager. A service has a state,
// may refuse to open or to stop, and may stay stop-pending for a number of
// status queries; when it stops, the process it runs in ends. Counts the
// manager and service handles still open.
#include <cstdint>
#include <map>
#include <string>

#include "platform/fake/fake_processes.h"
#include "platform/services.h"

namespace brisko::fake {

struct FakeService {
    std::uint32_t state = kServiceRunning;
    // Status queries that still answer stop-pending after the stop control.
    unsigned stopPendingQueries = 0;
    bool refusesOpen = false;
    bool refusesStop = false;
    // The process the service runs in, ended when it stops (0: none).
    std::uint32_t processId = 0;
};

class FakeServices : public Services {
public:
    FakeServices(FaultPlan& faults, FakeProcesses& processes) : faults_(faults), processes_(processes) {}

    // Adds a running service; names are matched without regard to case.
    FakeService& add(const std::string& name);
    FakeService& service(const std::string& name);
    void refuseManager() { managerRefused_ = true; }

    unsigned stopControls() const { return stopControls_; }
    int openHandles() const { return openHandles_; }

    std::unique_ptr<ServiceManager> openManager(std::uint32_t access) override;

private:
    class Manager;
    class Service;

    FaultPlan& faults_;
    FakeProcesses& processes_;
    std::map<std::string, FakeService> services_;  // by name in capitals
    bool managerRefused_ = false;
    unsigned stopControls_ = 0;
    int openHandles_ = 0;
};

}  // namespace brisko::fake
