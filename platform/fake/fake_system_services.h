#pragma once
// Waits, directories and environment of the simulated machine. Sleeps only
// add up; the directories and variables are what a test sets, with the
// usual ones of a Windows installation on C: to begin with. Claimed names
// are held until their claim ends.
#include <memory>
#include <set>
#include <string>

#include "platform/environment_block.h"
#include "platform/fake/fault_plan.h"
#include "platform/system_services.h"

namespace brisko::fake {

class FakeSystemServices : public SystemServices {
public:
    explicit FakeSystemServices(FaultPlan& faults);

    unsigned long long sleptMilliseconds() const { return slept_; }
    void setWindowsDirectory(const std::string& path) { windowsDirectory_ = path; }
    void setSystemDirectory(const std::string& path) { systemDirectory_ = path; }
    void setTemporaryDirectory(const std::string& path) { temporaryDirectory_ = path; }
    // Names are matched without regard to case, as on Windows.
    void setEnvironmentVariable(const std::string& name, const std::string& value);
    // The folders as set, whatever the fault plan makes the seam answer.
    const std::string& windowsFolder() const { return windowsDirectory_; }
    const std::string& systemFolder() const { return systemDirectory_; }
    const std::string& temporaryFolder() const { return temporaryDirectory_; }

    void sleepMilliseconds(unsigned milliseconds) override { slept_ += milliseconds; }
    unsigned windowsDirectory(char* buffer, unsigned capacity) override;
    unsigned systemDirectory(char* buffer, unsigned capacity) override;
    unsigned temporaryDirectory(char* buffer, unsigned capacity) override;
    unsigned expandEnvironmentStrings(const char* text, char* buffer, unsigned capacity) override;
    std::unique_ptr<NamedClaim> claimName(const char* name) override;

    // Whether any program holds the name.
    bool isClaimed(const std::string& name) const { return claimed_.count(name) != 0; }

private:
    class Claim;

    FaultPlan& faults_;
    unsigned long long slept_ = 0;
    std::string windowsDirectory_;
    std::string systemDirectory_;
    std::string temporaryDirectory_;
    EnvironmentBlock environment_;
    std::set<std::string> claimed_;
};

}  // namespace brisko::fake
