#pragma once
// The forced restart that completes a removal waiting for the next start.

namespace brisko {

int restartSystem();

}  // namespace brisko
