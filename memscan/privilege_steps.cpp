#include "memscan/privilege_steps.h"

#include <memory>

#include "platform/message_box_flags.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr std::uint32_t kAdjustAndQuery = kTokenAdjustPrivileges | kTokenQuery;

}  // namespace

void enableDebugPrivilege() {
    std::unique_ptr<AccessToken> token = privileges().openOwnToken(kAdjustAndQuery);
    if (!token) {
        systemControl().showSystemMessage("false", "TEMP", kMessageOk);
        return;
    }
    token->enablePrivilege("SeDebugPrivilege");
}

long enableShutdownPrivilege() {
    std::unique_ptr<AccessToken> token = privileges().openOwnToken(kAdjustAndQuery);
    if (!token) return -1;
    return static_cast<long>(token->enablePrivilege("SeShutdownPrivilege"));
}

}  // namespace brisko
