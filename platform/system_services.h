#pragma once
// What the program asks of the system besides files and windows: waits,
// its directories and its environment.

namespace brisko {

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
};

}  // namespace brisko
