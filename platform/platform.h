#pragma once
// The one door from the program's logic to the operating system. A backend
// (the real Windows one, or the simulated machine of the tests) is installed
// once at start; every operating-system call goes through it.
#include "platform/file_system.h"
#include "platform/privileges.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/system_control.h"
#include "platform/system_services.h"
#include "platform/window_messaging.h"

namespace brisko {

class Platform {
public:
    virtual ~Platform() = default;
    virtual FileSystem& files() = 0;
    virtual WindowMessaging& windows() = 0;
    virtual SystemServices& system() = 0;
    virtual Processes& processes() = 0;
    virtual Registry& registry() = 0;
    virtual Services& services() = 0;
    virtual Privileges& privileges() = 0;
    virtual SystemControl& control() = 0;
};

// Makes a backend the current one (null uninstalls it). The caller keeps
// ownership.
void installPlatform(Platform* platform);
// The installed backend; the program installs one before any other call.
Platform& currentPlatform();

inline FileSystem& files() { return currentPlatform().files(); }
inline WindowMessaging& windows() { return currentPlatform().windows(); }
inline SystemServices& systemServices() { return currentPlatform().system(); }
inline Processes& processes() { return currentPlatform().processes(); }
inline Registry& registry() { return currentPlatform().registry(); }
inline Services& services() { return currentPlatform().services(); }
inline Privileges& privileges() { return currentPlatform().privileges(); }
inline SystemControl& systemControl() { return currentPlatform().control(); }

}  // namespace brisko
