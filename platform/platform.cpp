#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace brisko {
namespace {
Platform* installed = nullptr;
}

void installPlatform(Platform* platform) { installed = platform; }

Platform& currentPlatform() {
    if (installed == nullptr) {
        std::fputs("brisko: no platform backend installed\n", stderr);
        std::abort();
    }
    return *installed;
}

}  // namespace brisko
