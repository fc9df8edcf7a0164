#include "memscan/restart.h"

namespace brisko {

// No restart is requested until the privilege handling exists.
int restartSystem() { return 0; }

}  // namespace brisko
