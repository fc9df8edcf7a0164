// A mounted volume as the backend of the contract tests: a temporary folder
// of the host is drive C:, the volume's only drive, and the scratch folder
// lies at its root. Fixtures are arranged on the host folder directly.
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "platform/volume/volume_platform.h"
#include "tests/contract/contract_backend.h"
#include "tests/support/temporary_folder.h"

namespace brisko {
namespace {

namespace fs = std::filesystem;

class VolumeContractBackend : public ContractBackend {
public:
    VolumeContractBackend()
        : platform_(volume::VolumePlatform::open(folder_.path().c_str(), [](const std::string& line) {
              throw std::runtime_error("unexpected read error: " + line);
          })) {
        if (!platform_) throw std::runtime_error("cannot open the volume's folder");
    }

    Platform& platform() override { return *platform_; }
    std::string scratchFolder() override { return "C:\\scratch\\"; }
    char unusedDriveLetter() override { return 'D'; }

    void writeFile(const std::string& path, const std::string& bytes) override {
        std::ofstream(hostPath(path), std::ios::binary) << bytes;
    }
    void makeDirectory(const std::string& path) override { fs::create_directories(hostPath(path)); }
    std::string readFile(const std::string& path) override {
        std::ifstream in(hostPath(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // An offline volume runs nothing and has no registry: the sources that
    // need these are not part of this executable.
    void holdOpen(const std::string&) override { refuse("holds no file open"); }
    void releaseHeldFiles() override { refuse("holds no file open"); }
    WindowHandle makeWindow(std::function<void(std::uint32_t)>) override { refuse("has no windows"); }
    bool showTitledWindow(const std::string&) override { refuse("has no windows"); }
    void closeTitledWindows() override { refuse("has no windows"); }
    std::uint32_t startSleeper(const std::string&) override { refuse("runs no programs"); }
    std::uint32_t startImage(const std::string&, const std::string&) override { refuse("runs no programs"); }
    bool hasEnded(std::uint32_t) override { refuse("runs no programs"); }
    std::string versionName() override { refuse("is no running system"); }
    bool startsProgramsFor(RunnableMachine) override { refuse("runs no programs"); }
    bool hasProcessPerformanceData() override { refuse("has no performance data"); }
    void startService(const std::string&) override { refuse("runs no services"); }
    void makeMachineKey(const std::string&) override { refuse("has no registry"); }
    bool machineKeyExists(const std::string&) override { refuse("has no registry"); }
    void setMachineStringInView(const std::string&, RegistryView, const std::string&, const std::string&) override {
        refuse("has no registry");
    }
    void setMachineString(const std::string&, const std::string&, const std::string&) override {
        refuse("has no registry");
    }

private:
    [[noreturn]] static void refuse(const char* what) {
        throw std::logic_error(std::string("an offline volume ") + what);
    }

    // The host path of a Windows path on C:, names taken as written.
    fs::path hostPath(const std::string& windowsPath) const {
        std::string relative = windowsPath.substr(3);
        for (char& c : relative) {
            if (c == '\\') c = '/';
        }
        return folder_.path() / relative;
    }

    TemporaryFolder folder_{"brisko-volume-contract"};
    std::unique_ptr<volume::VolumePlatform> platform_;
};

}  // namespace

std::unique_ptr<ContractBackend> makeContractBackend() {
    auto backend = std::make_unique<VolumeContractBackend>();
    backend->makeDirectory(backend->scratchFolder());
    return backend;
}

}  // namespace brisko
