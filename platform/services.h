#pragma once
// The service control manager, as far as stopping one named service goes.
#include <cstdint>
#include <memory>

namespace brisko {

// Access rights and states, with the values Windows gives them.
constexpr std::uint32_t kServiceManagerAllAccess = 0xF003F;
constexpr std::uint32_t kServiceAllAccess = 0xF003F;
constexpr std::uint32_t kServiceStopped = 1;
constexpr std::uint32_t kServiceStartPending = 2;
constexpr std::uint32_t kServiceStopPending = 3;
constexpr std::uint32_t kServiceRunning = 4;

// An opened service. Closes its handle when destroyed.
class OpenedService {
public:
    virtual ~OpenedService() = default;
    // Sends the stop control; state is the service's state as the control
    // reported it. False when the control is refused.
    virtual bool stop(std::uint32_t& state) = 0;
    virtual bool queryState(std::uint32_t& state) = 0;
};

// The manager of the local machine's active services database. Closes its
// handle when destroyed.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    virtual std::unique_ptr<OpenedService> openService(const char* name, std::uint32_t access) = 0;
};

class Services {
public:
    virtual ~Services() = default;
    virtual std::unique_ptr<ServiceManager> openManager(std::uint32_t access) = 0;
};

}  // namespace brisko
