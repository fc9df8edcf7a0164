#include "platform/single_instance.h"

#include "base/program_identity.h"
#include "platform/platform.h"

namespace brisko {

std::unique_ptr<NamedClaim> claimSingleInstance() {
    if (windows().windowTitled(programTitle)) return nullptr;
    return systemServices().claimName(kRunningInstanceName);
}

}  // namespace brisko
