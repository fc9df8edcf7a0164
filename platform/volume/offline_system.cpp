#include "platform/volume/offline_system.h"

#include <cstdlib>

#include "platform/ascii_text.h"

namespace brisko::volume {
namespace {

// The error Windows gives for a process id that names no process.
constexpr std::uint32_t kErrorInvalidParameter = 87;

}  // namespace

bool NoProcesses::listProcessIds(std::uint32_t*, std::uint32_t, std::uint32_t& bytesReturned) {
    bytesReturned = 0;
    return false;
}

std::unique_ptr<OpenedProcess> NoProcesses::openProcess(std::uint32_t, std::uint32_t, std::uint32_t& lastError) {
    lastError = kErrorInvalidParameter;
    return nullptr;
}

void OfflineSystemServices::setWindowsFolder(const std::string& folder) {
    environment_.set("SystemRoot", folder);
    environment_.set("windir", folder);
    environment_.set("SystemDrive", folder.substr(0, 2));
}

unsigned OfflineSystemServices::expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) {
    return environment_.expandInto(text, buffer, capacity);
}

bool OfflineSystemControl::queryVersion(SystemVersion& version) {
    version = {kPlatformWin32s, 3, 0};
    return true;
}

void OfflineSystemControl::exitProgram(int code) { std::exit(code); }

int OfflineSystemControl::convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) {
    return convertAsciiText(text, buffer, capacity);
}

}  // namespace brisko::volume
