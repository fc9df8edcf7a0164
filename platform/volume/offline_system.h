#pragma once
// The parts of the platform a volume that is not running gives nothing to:
// no processes, services, token, windows or messages; sleeps that end at
// once; no known directories; a system of neither Windows family, so that
// the steps meant for a running system (the process scan, the hosts check,
// the deletion at the next start) leave the volume alone.
#include <string>

#include "platform/environment_block.h"
#include "platform/privileges.h"
#include "platform/processes.h"
#include "platform/services.h"
#include "platform/system_control.h"
#include "platform/system_services.h"
#include "platform/window_messaging.h"

namespace brisko::volume {

class NoProcesses : public Processes {
public:
    std::unique_ptr<ProcessSnapshot> snapshotProcesses() override { return nullptr; }
    bool listProcessIds(std::uint32_t* ids, std::uint32_t capacityBytes, std::uint32_t& bytesReturned) override;
    std::unique_ptr<OpenedProcess> openProcess(std::uint32_t processId, std::uint32_t access,
                                               std::uint32_t& lastError) override;
};

class NoServices : public Services {
public:
    std::unique_ptr<ServiceManager> openManager(std::uint32_t) override { return nullptr; }
};

class NoPrivileges : public Privileges {
public:
    std::unique_ptr<AccessToken> openOwnToken(std::uint32_t) override { return nullptr; }
};

class NoWindows : public WindowMessaging {
public:
    void sendMessage(WindowHandle, std::uint32_t) override {}
    bool takeMessage(WindowMessage&) override { return false; }
    void dispatchMessage(const WindowMessage&) override {}
    bool windowTitled(const char*) override { return false; }
};

class OfflineSystemServices : public SystemServices {
public:
    void sleepMilliseconds(unsigned) override {}
    unsigned windowsDirectory(char*, unsigned) override { return 0; }
    unsigned systemDirectory(char*, unsigned) override { return 0; }
    unsigned temporaryDirectory(char*, unsigned) override { return 0; }
    // The variables Windows sets for every program from its own folder,
    // once the volume's installation is known: SystemRoot, windir and
    // SystemDrive. Until then, and for any other name, references stay as
    // written.
    void setWindowsFolder(const std::string& folder);
    unsigned expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) override;
    // Nothing runs on the volume to claim a name against.
    std::unique_ptr<NamedClaim> claimName(const char*) override { return std::make_unique<NamedClaim>(); }

private:
    EnvironmentBlock environment_;
};

class OfflineSystemControl : public SystemControl {
public:
    // Win32s: neither the 9x nor the NT family.
    bool queryVersion(SystemVersion& version) override;
    // Nobody is there to see a message box, restart or open an address.
    int showSystemMessage(const char*, const char*, unsigned) override { return 0; }
    int requestShutdown(std::uint32_t) override { return 0; }
    [[noreturn]] void exitProgram(int code) override;
    // Plain ASCII only: the volume's code page is not known.
    int convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) override;
    void openAddress(const char*) override {}
};

}  // namespace brisko::volume
