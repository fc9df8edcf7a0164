#pragma once
// Whether the program may change what a scan of the running system
// changes: every drive, the machine's registry, its services and processes.

namespace brisko {

// True on the 9x family, whose accounts all hold the same rights; on the
// NT family when the program acts as an administrator.
bool holdsAdministratorRights();

}  // namespace brisko
