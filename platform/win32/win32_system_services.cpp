#include "platform/win32/windows_api.h"

#include "platform/win32/win32_system_services.h"

namespace brisko {

void Win32SystemServices::sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace brisko
