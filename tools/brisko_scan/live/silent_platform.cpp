#include "tools/brisko_scan/live/silent_platform.h"

#include <cstdlib>
#include <utility>

#include "platform/message_box_flags.h"

namespace brisko {

SilentPlatform::SilentPlatform(Platform& system, std::function<void(const char*, const char*)> notice,
                               std::function<int()> finish)
    : system_(system), control_(system.control(), std::move(notice), std::move(finish)) {}

SilentPlatform::SilentControl::SilentControl(SystemControl& system,
                                             std::function<void(const char*, const char*)> notice,
                                             std::function<int()> finish)
    : system_(system), notice_(std::move(notice)), finish_(std::move(finish)) {}

// The program's only message boxes have the one button OK.
int SilentPlatform::SilentControl::showSystemMessage(const char* text, const char* caption, unsigned) {
    notice_(text, caption);
    return kAnswerOk;
}

int SilentPlatform::SilentControl::requestShutdown(std::uint32_t flags) {
    const int result = system_.requestShutdown(flags);
    if (result != 0) restartStarted = true;
    return result;
}

void SilentPlatform::SilentControl::exitProgram(int) { std::exit(finish_()); }

}  // namespace brisko
