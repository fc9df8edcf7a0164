#include "cleanup/autostart_cleanup.h"

namespace brisko {

// The registry is not read yet: no value is known to start the file.
int cleanAutostartEntries(const char*) { return 1; }

}  // namespace brisko
