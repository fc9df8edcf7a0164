#include "memscan/restart.h"

#include "platform/system_family.h"
#include "memscan/privilege_steps.h"
#include "platform/platform.h"

namespace brisko {

int restartSystem() {
    // The 9x family has no tokens: the request alone restarts it.
    if (platformFamily() != kFamilyWindows9x) {
        const long error = enableShutdownPrivilege();
        if (error == -1) return 0;
        if (error != 0) return static_cast<int>(error);
    }
    return systemControl().requestShutdown(kExitReboot | kExitForce);
}

}  // namespace brisko
