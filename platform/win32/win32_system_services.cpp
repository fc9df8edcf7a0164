#include "platform/win32/windows_api.h"

#include "platform/win32/win32_system_services.h"

namespace brisko {

void Win32SystemServices::sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

unsigned Win32SystemServices::windowsDirectory(char* buffer, unsigned capacity) {
    return GetWindowsDirectoryA(buffer, capacity);
}

unsigned Win32SystemServices::systemDirectory(char* buffer, unsigned capacity) {
    return GetSystemDirectoryA(buffer, capacity);
}

unsigned Win32SystemServices::temporaryDirectory(char* buffer, unsigned capacity) {
    return GetTempPathA(capacity, buffer);
}

unsigned Win32SystemServices::expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) {
    return ExpandEnvironmentStringsA(text, buffer, capacity);
}

}  // namespace brisko
