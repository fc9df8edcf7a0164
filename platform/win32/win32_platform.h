#pragma once
// The real Windows backend of the seam. A program makes one at start and
// installs it:
//     Win32Platform platform;
//     installPlatform(&platform);
// This header does not bring in <windows.h>.
#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_privileges.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_system_control.h"
#include "platform/win32/win32_system_services.h"
#include "platform/win32/win32_window_messaging.h"

namespace brisko {

class Win32Platform final : public Platform {
public:
    FileSystem& files() override { return files_; }
    WindowMessaging& windows() override { return windows_; }
    SystemServices& system() override { return system_; }
    Processes& processes() override { return processes_; }
    Registry& registry() override { return registry_; }
    Services& services() override { return services_; }
    Privileges& privileges() override { return privileges_; }
    SystemControl& control() override { return control_; }

private:
    Win32FileSystem files_;
    Win32WindowMessaging windows_;
    Win32SystemServices system_;
    Win32Processes processes_;
    Win32Registry registry_;
    Win32Services services_;
    Win32Privileges privileges_;
    Win32SystemControl control_;
};

}  // namespace brisko
