#pragma once
// brisko.exe and brisko-scan.exe run one at a time on a machine: two scans
// side by side would fight over the same files, processes and keys.
#include <memory>

#include "platform/system_services.h"

namespace brisko {

// The name both programs hold while they run. brisko.exe is found by its
// window as well; brisko-scan.exe has none.
constexpr const char* kRunningInstanceName = "Brisko Ver 1.0 is running";

// The claim of the one running copy; null when another copy runs already.
std::unique_ptr<NamedClaim> claimSingleInstance();

}  // namespace brisko
