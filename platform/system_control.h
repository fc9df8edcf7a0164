#pragma once
// The system as a whole: its version, its own message box, shutdown, the
// end of this program, text conversion to the system code page and the
// shell's opening of an address.
#include <cstdint>

namespace brisko {

// What GetVersionExA reports.
struct SystemVersion {
    std::uint32_t platformId;
    std::uint32_t majorVersion;
    std::uint32_t minorVersion;
};

// Platform ids, with the values Windows gives them.
constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows = 1;
constexpr std::uint32_t kPlatformNt = 2;

// ExitWindowsEx flags, with the values Windows gives them.
constexpr std::uint32_t kExitReboot = 0x02;
constexpr std::uint32_t kExitForce = 0x04;

class SystemControl {
public:
    virtual ~SystemControl() = default;

    // False when the system does not tell its version.
    virtual bool queryVersion(SystemVersion& version) = 0;
    // The system's own message box, with no owner window; the button pressed.
    virtual int showSystemMessage(const char* text, const char* caption, unsigned type) = 0;
    // Asks the system to shut down or restart (ExitWindowsEx); its result.
    virtual int requestShutdown(std::uint32_t flags) = 0;
    // Ends the program at once with an exit code.
    [[noreturn]] virtual void exitProgram(int code) = 0;
    // Converts a terminated UTF-16 text to the system code page into buffer
    // (capacity bytes, terminator included); the bytes written with the
    // terminator, 0 when it cannot be converted or does not fit.
    virtual int convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) = 0;
    // Hands an address (a web page) to the shell, which opens it in the
    // program registered for it. Nothing is waited for and nothing is
    // reported: the dialog carries on whether a browser came up or not.
    virtual void openAddress(const char* address) = 0;
};

}  // namespace brisko
