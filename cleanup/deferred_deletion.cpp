#include "cleanup/deferred_deletion.h"

namespace brisko {

// Nothing can be arranged until wininit.ini and the delayed move are handled.
int scheduleDeletionAtRestart(const char*) { return 0; }

}  // namespace brisko
