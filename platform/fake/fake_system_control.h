#pragma once
// The simulated machine's version, system message boxes, shutdown requests,
// opened addresses and program exit. Everything asked is recorded; exitProgram throws
// ProgramExited so that a test sees the exit instead of ending.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fake/fault_plan.h"
#include "platform/system_control.h"

namespace brisko::fake {

struct ProgramExited : std::runtime_error {
    explicit ProgramExited(int exitCode) : std::runtime_error("program exited"), code(exitCode) {}
    int code;
};

struct SystemMessage {
    std::string text;
    std::string caption;
    unsigned type;
};

class FakeSystemControl : public SystemControl {
public:
    explicit FakeSystemControl(FaultPlan& faults) : faults_(faults) {}

    // Windows XP until a test says otherwise.
    void setVersion(std::uint32_t platformId, std::uint32_t majorVersion, std::uint32_t minorVersion = 0) {
        version_ = SystemVersion{platformId, majorVersion, minorVersion};
    }
    void failVersion() { version_.reset(); }
    void setShutdownResult(int result) { shutdownResult_ = result; }

    const std::vector<SystemMessage>& systemMessages() const { return messages_; }
    const std::vector<std::uint32_t>& shutdownRequests() const { return shutdowns_; }
    const std::vector<std::string>& openedAddresses() const { return addresses_; }

    bool queryVersion(SystemVersion& version) override;
    int showSystemMessage(const char* text, const char* caption, unsigned type) override;
    int requestShutdown(std::uint32_t flags) override;
    [[noreturn]] void exitProgram(int code) override;
    // Only ASCII converts: anything else stands for a character the system
    // code page lacks.
    int convertWideText(const std::uint16_t* text, char* buffer, unsigned capacity) override;
    void openAddress(const char* address) override { addresses_.emplace_back(address); }

private:
    FaultPlan& faults_;
    std::optional<SystemVersion> version_ = SystemVersion{kPlatformNt, 5, 1};
    int shutdownResult_ = 1;
    std::vector<SystemMessage> messages_;
    std::vector<std::uint32_t> shutdowns_;
    std::vector<std::string> addresses_;
};

}  // namespace brisko::fake
