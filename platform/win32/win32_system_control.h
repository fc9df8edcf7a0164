#pragma once
// Version, message box, shutdown, exit, text conversion and opening an
// address over the Windows API, the shell and the C runtime.
#include "platform/system_control.h"

namespace brisko {

class Win32SystemControl final : public SystemControl {
public:
    bool queryVersion(SystemVersion& version) override;
    int showSystemMessage(const char* text, const char* caption, unsigned type) override;
    int requestShutdown(std::uint32_t flags) override;
    [[noreturn]] void exitProgram(int code) override;
    int convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) override;
    void openAddress(const char* address) override;
};

}  // namespace brisko
