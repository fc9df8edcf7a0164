#include "memscan/service_cleanup.h"

#include <cstdio>
#include <memory>

#include "platform/platform.h"

namespace brisko {
namespace {

constexpr unsigned kStopPollLimit = 30;
constexpr unsigned kStopPollMilliseconds = 1000;

struct ServiceKey {
    const char* prefix;
    const char* suffix;
};

// In the order they are deleted; subkeys before the key that holds them.
// The fourth prefix is in capitals as the key names have always been built.
constexpr ServiceKey kServiceKeys[] = {
    {"SYSTEM\\ControlSet001\\Services\\", "\\Enum"},
    {"SYSTEM\\ControlSet001\\Services\\", "\\Security"},
    {"SYSTEM\\ControlSet001\\Services\\", ""},
    {"SYSTEM\\CONTROLSET002\\SERVICES\\", "\\Enum"},
    {"SYSTEM\\ControlSet002\\Services\\", "\\Security"},
    {"SYSTEM\\ControlSet002\\Services\\", ""},
};

}  // namespace

int stopService(const char* name) {
    std::unique_ptr<ServiceManager> manager = services().openManager(kServiceManagerAllAccess);
    if (!manager) return 0;
    std::unique_ptr<OpenedService> service = manager->openService(name, kServiceAllAccess);
    if (!service) return 0;
    std::uint32_t state = 0;
    if (!service->stop(state)) return 0;
    for (unsigned polls = 0;; ++polls) {
        std::uint32_t polled = 0;
        if (!service->queryState(polled)) break;
        state = polled;
        if (state != kServiceStopPending || polls == kStopPollLimit) break;
        systemServices().sleepMilliseconds(kStopPollMilliseconds);
    }
    return state == kServiceStopped ? 1 : 0;
}

int deleteServiceEntries(const char* name) {
    // An empty name would make keys 3 and 6 the Services key itself.
    if (name[0] == '\0') return 0;
    int deleted = 0;
    for (const ServiceKey& key : kServiceKeys) {
        char subkey[512];
        const int length = std::snprintf(subkey, sizeof subkey, "%s%s%s", key.prefix, name, key.suffix);
        if (length < 0 || static_cast<unsigned>(length) >= sizeof subkey) continue;
        if (deleteMachineKey(subkey) != 0) deleted = 1;
    }
    return deleted;
}

int deleteMachineKey(const char* subkey) {
    return registry().deleteMachineKey(subkey) == kErrorSuccess ? 1 : 0;
}

}  // namespace brisko
