#pragma once
// The running system as brisko-scan.exe uses it: like the real one, but
// nothing ever comes up on screen. The system's message boxes become
// notices, the end of the program that the memory scan calls for goes
// through the console's own ending (its log, its report, its exit status),
// and a restart request the system accepted is remembered for the exit
// status.
#include <functional>

#include "platform/platform.h"

namespace brisko {

class SilentPlatform : public Platform {
public:
    // notice: the text and caption of a message box nobody would see.
    // finish: ends the run and returns the exit status the program ends
    // with.
    SilentPlatform(Platform& system, std::function<void(const char* text, const char* caption)> notice,
                   std::function<int()> finish);

    // Whether the system has accepted a request to restart.
    bool restartStarted() const { return control_.restartStarted; }

    FileSystem& files() override { return system_.files(); }
    WindowMessaging& windows() override { return system_.windows(); }
    SystemServices& system() override { return system_.system(); }
    Processes& processes() override { return system_.processes(); }
    Registry& registry() override { return system_.registry(); }
    Services& services() override { return system_.services(); }
    Privileges& privileges() override { return system_.privileges(); }
    SystemControl& control() override { return control_; }

private:
    class SilentControl : public SystemControl {
    public:
        SilentControl(SystemControl& system, std::function<void(const char*, const char*)> notice,
                      std::function<int()> finish);

        bool queryVersion(SystemVersion& version) override { return system_.queryVersion(version); }
        int showSystemMessage(const char* text, const char* caption, unsigned type) override;
        int requestShutdown(std::uint32_t flags) override;
        [[noreturn]] void exitProgram(int code) override;
        int convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) override {
            return system_.convertWideText(text, buffer, capacity);
        }
        // No browser is opened behind a console.
        void openAddress(const char*) override {}

        bool restartStarted = false;

    private:
        SystemControl& system_;
        std::function<void(const char*, const char*)> notice_;
        std::function<int()> finish_;
    };

    Platform& system_;
    SilentControl control_;
};

}  // namespace brisko
