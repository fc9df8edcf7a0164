#pragma once
// The simulated machine with an offline registry in place of its own: what
// the live cleanup code sees when it runs over a volume's hives.
#include "platform/fake/fake_machine.h"
#include "platform/hive/offline_registry.h"

namespace brisko::testing {

class OfflinePlatform : public Platform {
public:
    OfflinePlatform(fake::FakeMachine& machine, OfflineRegistry& registry) : machine_(machine), registry_(registry) {}

    FileSystem& files() override { return machine_.files(); }
    WindowMessaging& windows() override { return machine_.windows(); }
    SystemServices& system() override { return machine_.system(); }
    Processes& processes() override { return machine_.processes(); }
    Registry& registry() override { return registry_; }
    Services& services() override { return machine_.services(); }
    Privileges& privileges() override { return machine_.privileges(); }
    SystemControl& control() override { return machine_.control(); }

private:
    fake::FakeMachine& machine_;
    OfflineRegistry& registry_;
};

}  // namespace brisko::testing
