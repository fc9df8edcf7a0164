#include "cleanup/variant_uninstall_cleanup.h"

namespace brisko {

// The registry is not read yet: there is no entry to find.
int cleanVariantUninstallEntry() { return 0; }

}  // namespace brisko
