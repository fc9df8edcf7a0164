#pragma once
// What the program asks of the system besides files and windows.

namespace brisko {

class SystemServices {
public:
    virtual ~SystemServices() = default;

    virtual void sleepMilliseconds(unsigned milliseconds) = 0;
};

}  // namespace brisko
