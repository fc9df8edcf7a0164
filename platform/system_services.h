#pragma once
// What the program asks of the system besides files and windows: waits,
// its directories, its environment and the names programs claim.
#include <memory>

namespace brisko {

// A name held for as long as the object lives (a named mutex), which
// tells other programs that this one runs.
class NamedClaim {
public:
    virtual ~NamedClaim() = default;
};

class SystemServices {
public:
    virtual ~SystemServices() = default;

    virtual void sleepMilliseconds(unsigned milliseconds) = 0;

    // The Windows, system and temporary directories, as the system gives
    // them: the length written, or the size needed when the buffer is too
    // small, or 0 on failure. Only the temporary directory ends in '\\'.
    virtual unsigned windowsDirectory(char* buffer, unsigned capacity) = 0;
    virtual unsigned systemDirectory(char* buffer, unsigned capacity) = 0;
    virtual unsigned temporaryDirectory(char* buffer, unsigned capacity) = 0;

    // Replaces every %NAME% of a defined environment variable by its value;
    // others stay as written. Returns the size of the result with its
    // terminator (larger than capacity when it did not fit), 0 on failure.
    virtual unsigned expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) = 0;

    // Claims a name for this program; null when another process holds it
    // already, or when the system refuses it.
    virtual std::unique_ptr<NamedClaim> claimName(const char* name) = 0;
};

}  // namespace brisko
