// The simulated machine as the backend of the contract tests.
#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"
#include "tests/contract/contract_backend.h"

namespace brisko {
namespace {

class FakeContractBackend : public ContractBackend {
public:
    FakeContractBackend() { machine_.addDrive('D'); }

    Platform& platform() override { return machine_; }
    std::string scratchFolder() override { return "D:\\scratch\\"; }
    char unusedDriveLetter() override { return 'Q'; }

    void writeFile(const std::string& path, const std::string& bytes) override {
        machine_.writeFile(path, bytes);
    }
    void makeDirectory(const std::string& path) override { machine_.makeDirectory(path); }
    std::string readFile(const std::string& path) override { return machine_.readFile(path); }
    void holdOpen(const std::string& path) override {
        holders_.push_back(machine_.runProgramHolding(path));
    }
    void releaseHeldFiles() override {
        for (int holder : holders_) machine_.endProgram(holder);
        holders_.clear();
    }
    WindowHandle makeWindow(std::function<void(std::uint32_t id)> onMessage) override {
        return machine_.fakeWindows().createWindow(
            [onMessage](const WindowMessage& message) { onMessage(message.id); });
    }

private:
    fake::FakeMachine machine_;
    std::vector<int> holders_;
};

}  // namespace

std::unique_ptr<ContractBackend> makeContractBackend() {
    auto backend = std::make_unique<FakeContractBackend>();
    backend->makeDirectory(backend->scratchFolder());
    return backend;
}

}  // namespace brisko
