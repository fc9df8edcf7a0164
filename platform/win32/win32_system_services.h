#pragma once
// System services over the Windows API.
#include "platform/system_services.h"

namespace brisko {

class Win32SystemServices final : public SystemServices {
public:
    void sleepMilliseconds(unsigned milliseconds) override;
};

}  // namespace brisko
