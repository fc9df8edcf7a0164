#pragma once
// System services over the Windows API; a claimed name is a named mutex.
#include "platform/system_services.h"

namespace brisko {

class Win32SystemServices final : public SystemServices {
public:
    void sleepMilliseconds(unsigned milliseconds) override;
    unsigned windowsDirectory(char* buffer, unsigned capacity) override;
    unsigned systemDirectory(char* buffer, unsigned capacity) override;
    unsigned temporaryDirectory(char* buffer, unsigned capacity) override;
    unsigned expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) override;
    std::unique_ptr<NamedClaim> claimName(const char* name) override;
};

}  // namespace brisko
