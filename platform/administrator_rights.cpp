#include "platform/administrator_rights.h"

#include <memory>

#include "platform/platform.h"
#include "platform/system_family.h"

namespace brisko {

bool holdsAdministratorRights() {
    if (platformFamily() == kFamilyWindows9x) return true;
    const std::unique_ptr<AccessToken> token = privileges().openOwnToken(kTokenQuery);
    return token != nullptr && token->actsAsAdministrator();
}

}  // namespace brisko
