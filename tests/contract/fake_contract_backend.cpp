// The simulated machine as the backend of the contract tests.
#include <string>
#include <vector>

#include "platform/fake/fake_machine.h"
#include "tests/contract/contract_backend.h"
#include "tools/sample_writer/runnable_sample.h"

namespace brisko {
namespace {

class FakeContractBackend : public ContractBackend {
public:
    // A 64-bit program on 64-bit Windows, as the x86_64 build under wine64.
    FakeContractBackend() {
        machine_.fakeRegistry().setBitness(fake::FakeBitness::k64BitProgram);
        machine_.addWindowsInstallation();
        machine_.addDrive('D');
    }

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

    bool showTitledWindow(const std::string& title) override {
        machine_.fakeWindows().showOtherProgramWindow(title);
        titles_.push_back(title);
        return true;
    }
    void closeTitledWindows() override {
        for (const std::string& title : titles_) machine_.fakeWindows().closeOtherProgramWindow(title);
        titles_.clear();
    }

    std::uint32_t startSleeper(const std::string& path) override {
        machine_.writeFile(path, "sleeper");
        return static_cast<std::uint32_t>(machine_.runProgram(path));
    }
    std::uint32_t startImage(const std::string& path, const std::string& bytes) override {
        machine_.writeFile(path, bytes);
        return static_cast<std::uint32_t>(machine_.runProgram(path));
    }
    bool hasEnded(std::uint32_t processId) override { return !machine_.fakeProcesses().isRunning(processId); }
    std::string versionName() override { return "winxp"; }
    // The simulated processes run any image.
    bool startsProgramsFor(RunnableMachine) override { return true; }
    bool hasProcessPerformanceData() override { return true; }
    void startService(const std::string& name) override {
        machine_.fakeServices().add(name).processId = machine_.fakeProcesses().start("");
    }
    void makeMachineKey(const std::string& path) override { machine_.fakeRegistry().addKey(path); }
    bool machineKeyExists(const std::string& path) override { return machine_.fakeRegistry().hasKey(path); }
    void setMachineString(const std::string& key, const std::string& name, const std::string& text) override {
        machine_.fakeRegistry().setString(key, name, text);
    }
    void setMachineStringInView(const std::string& key, RegistryView view, const std::string& name,
                                const std::string& text) override {
        machine_.fakeRegistry().setStringInView(key, view, name, text);
    }

private:
    fake::FakeMachine machine_;
    std::vector<int> holders_;
    std::vector<std::string> titles_;
};

}  // namespace

std::unique_ptr<ContractBackend> makeContractBackend() {
    auto backend = std::make_unique<FakeContractBackend>();
    backend->makeDirectory(backend->scratchFolder());
    return backend;
}

}  // namespace brisko
