#pragma once
// Enabling a privilege on the program's own token: the debug privilege
// before opening a process that refused, the shutdown privilege before a
// restart.

namespace brisko {

// Enables SeDebugPrivilege. A token that cannot be opened is announced by
// the system message box "false" / "TEMP"; the outcome is not told.
void enableDebugPrivilege();

// Enables SeShutdownPrivilege. -1 when the token cannot be opened, else the
// system's error code after the adjustment (0: enabled).
long enableShutdownPrivilege();

}  // namespace brisko
