#pragma once
// The programs, services and registry keys the Windows contract backend
// arranges for the process and service tests, and removes again.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace brisko {

class Win32ContractPrograms {
public:
    Win32ContractPrograms();
    ~Win32ContractPrograms();
    Win32ContractPrograms(const Win32ContractPrograms&) = delete;
    Win32ContractPrograms& operator=(const Win32ContractPrograms&) = delete;

    // Copies the sleeper next to the test executable to path and starts it.
    std::uint32_t startSleeper(const std::string& path);
    // Starts the program at path.
    std::uint32_t start(const std::string& path);
    bool hasEnded(std::uint32_t processId);
    // Installs the test service program (copied into folder) as name and
    // starts it.
    void startService(const std::string& name, const std::string& folder);

private:
    struct Started;
    std::vector<std::unique_ptr<Started>> started_;
    std::vector<std::string> services_;
};

void makeMachineKey(const std::string& path);
bool machineKeyExists(const std::string& path);
// In the given view of a 64-bit machine, named by its flag (KEY_WOW64_64KEY
// or KEY_WOW64_32KEY); kDefault names none.
void setMachineString(const std::string& key, const std::string& name, const std::string& text,
                      RegistryView view = RegistryView::kDefault);

}  // namespace brisko
