#include "platform/fake/fake_machine.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/windows_path.h"

namespace brisko::fake {
namespace fs = std::filesystem;

FakeMachine::FakeMachine() {
    std::string pattern = (fs::temp_directory_path() / "brisko-machine-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot make a machine root");
    root_ = buffer.data();
    installPlatform(this);
}

FakeMachine::~FakeMachine() {
    installPlatform(nullptr);
    std::error_code error;
    fs::remove_all(root_, error);
}

fs::path FakeMachine::addDrive(char letter, DriveType type) {
    const fs::path folder = root_ / std::string(1, letter);
    fs::create_directories(folder);
    files_.mapDrive(letter, folder, type);
    return folder;
}

void FakeMachine::addDriveAt(char letter, const fs::path& hostFolder, DriveType type) {
    files_.mapDrive(letter, hostFolder, type);
}

void FakeMachine::addWindowsInstallation() {
    addDrive('C');
    for (const std::string& folder : {system_.windowsFolder(), system_.systemFolder(), system_.temporaryFolder()}) {
        if (!folder.empty()) makeDirectory(folder);
    }
}

fs::path FakeMachine::hostPathCreatingFolders(const std::string& windowsPath) {
    // Without a letter, every folder on the way would again lack one.
    if (driveLetterOf(windowsPath) == 0) throw std::invalid_argument("no drive letter in " + windowsPath);
    const std::vector<std::string> names = pathComponents(windowsPath);
    if (names.empty()) throw std::invalid_argument("no file name in " + windowsPath);
    std::string folder = std::string(1, driveLetterOf(windowsPath)) + ":";
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        folder += "\\" + names[i];
        if (!files_.hostPathOf(folder)) makeDirectory(folder);
    }
    const std::optional<fs::path> existing = files_.hostPathOf(windowsPath);
    if (existing) return *existing;
    const std::optional<fs::path> fresh = files_.hostPathForNew(windowsPath);
    if (!fresh) throw std::invalid_argument("no drive for " + windowsPath);
    return *fresh;
}

void FakeMachine::writeFile(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream out(hostPathCreatingFolders(windowsPath), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + windowsPath);
}

void FakeMachine::makeDirectory(const std::string& windowsPath) {
    if (files_.hostPathOf(windowsPath)) return;
    fs::create_directory(hostPathCreatingFolders(windowsPath));
}

bool FakeMachine::fileExists(const std::string& windowsPath) const {
    return files_.hostPathOf(windowsPath).has_value();
}

std::string FakeMachine::readFile(const std::string& windowsPath) const {
    const std::optional<fs::path> host = files_.hostPathOf(windowsPath);
    std::error_code error;
    // A folder opens as a stream on the host, but reading it throws.
    if (!host || fs::is_directory(*host, error)) return {};
    std::ifstream in(*host, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int FakeMachine::runProgramHolding(const std::string& windowsPath) {
    const int processId = static_cast<int>(processes_.start(""));
    files_.holdFile(windowsPath, processId);
    return processId;
}

int FakeMachine::runProgram(const std::string& windowsPath) {
    return static_cast<int>(processes_.start(windowsPath));
}

void FakeMachine::endProgram(int processId) { processes_.end(static_cast<std::uint32_t>(processId)); }

}  // namespace brisko::fake
