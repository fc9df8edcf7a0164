#include "platform/win32/windows_api.h"

#include "platform/win32/win32_system_control.h"

#include <cstdlib>
#include <cstring>

#include <shellapi.h>

namespace brisko {

bool Win32SystemControl::queryVersion(SystemVersion& version) {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    version.platformId = info.dwPlatformId;
    version.majorVersion = info.dwMajorVersion;
    version.minorVersion = info.dwMinorVersion;
    return true;
}

int Win32SystemControl::showSystemMessage(const char* text, const char* caption, unsigned type) {
    return MessageBoxA(nullptr, text, caption, type);
}

int Win32SystemControl::requestShutdown(std::uint32_t flags) { return ExitWindowsEx(flags, 0); }

void Win32SystemControl::exitProgram(int code) { std::exit(code); }

int Win32SystemControl::convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) {
    static_assert(sizeof(WCHAR) == sizeof(std::uint16_t), "UTF-16 units");
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(text), -1, buffer,
                               static_cast<int>(capacity), nullptr, nullptr);
}

void Win32SystemControl::openAddress(const char* address) {
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace brisko
