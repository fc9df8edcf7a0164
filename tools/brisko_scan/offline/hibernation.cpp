#include "tools/brisko_scan/offline/hibernation.h"

#include <cstring>

#include "platform/platform.h"

namespace brisko {
namespace {

constexpr const char* kHibernationFile = "C:\\hiberfil.sys";
constexpr unsigned kSignatureLength = 4;

}  // namespace

HibernationState hibernationState() {
    if (!files().exists(kHibernationFile)) return HibernationState::kNotHibernated;
    const int descriptor = files().openForReading(kHibernationFile);
    if (descriptor < 0) return HibernationState::kUnknown;
    char signature[kSignatureLength] = {};
    const int got = files().read(descriptor, signature, sizeof signature);
    files().close(descriptor);
    if (got < 0) return HibernationState::kUnknown;
    // Windows 8 and later write the capital form, the older systems the
    // small one. A file too short for either holds no image.
    if (got == static_cast<int>(kSignatureLength) &&
        (std::memcmp(signature, "hibr", kSignatureLength) == 0 ||
         std::memcmp(signature, "HIBR", kSignatureLength) == 0)) {
        return HibernationState::kHibernated;
    }
    return HibernationState::kNotHibernated;
}

std::string hibernationRefusal(HibernationState state) {
    const std::string advice =
        "nothing was changed. Start that Windows and shut it down fully (or turn fast startup off and shut "
        "it down), then run again; --action leave scans without changing anything";
    if (state == HibernationState::kUnknown) {
        return std::string(kHibernationFile) + " cannot be read to tell whether Windows is hibernated; " + advice;
    }
    return std::string(kHibernationFile) + ": the Windows of this volume is hibernated (or stopped by fast "
                                           "startup), and changes made now would be lost or corrupt it when it "
                                           "resumes; " +
           advice;
}

}  // namespace brisko
