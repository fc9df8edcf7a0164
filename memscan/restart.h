#pragma once
// The forced restart that completes a removal waiting for the next start.

namespace brisko {

// On the NT family (and whenever the family is unknown) enables the
// shutdown privilege first. ExitWindowsEx's result when the restart was
// asked for; 0 when the token could not be opened; the error code when
// the privilege could not be enabled.
int restartSystem();

}  // namespace brisko
