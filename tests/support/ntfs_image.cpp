#include "tests/support/ntfs_image.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace brisko::testing {
namespace {

namespace fs = std::filesystem;

// Where Debian puts mkntfs and ntfs-3g, looked in after PATH.
constexpr const char* kSystemFolders[] = {"/usr/sbin", "/sbin", "/usr/bin", "/bin"};
// What a run keeps of a program's output; the rest is read and dropped.
constexpr std::size_t kOutputKept = 64 * 1024;
// Only a guard against a driver that neither mounts nor ends: a mount
// takes well under a second.
constexpr std::chrono::seconds kMountDeadline{60};

std::optional<std::string> findProgram(const std::string& name) {
    std::vector<std::string> folders;
    if (const char* path = std::getenv("PATH")) {
        std::string list = path;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            if (end > start) folders.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    folders.insert(folders.end(), std::begin(kSystemFolders), std::end(kSystemFolders));
    for (const std::string& folder : folders) {
        const std::string candidate = folder + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

// The program's path in place of its name, and the argv execv takes.
struct Command {
    std::vector<std::string> words;
    std::vector<char*> argv;
};

std::optional<Command> commandOf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::nullopt;
    const std::optional<std::string> program = findProgram(arguments[0]);
    if (!program) return std::nullopt;
    Command command{arguments, {}};
    command.words[0] = *program;
    for (std::string& word : command.words) command.argv.push_back(word.data());
    command.argv.push_back(nullptr);
    return command;
}

int exitStatusOf(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return exitStatusOf(status);
}

std::string textOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Whether the folder is the root of a file system other than its parent's.
bool isMountPoint(const fs::path& folder) {
    struct stat own {};
    struct stat parent {};
    return ::stat(folder.c_str(), &own) == 0 && ::stat(folder.parent_path().c_str(), &parent) == 0 &&
           own.st_dev != parent.st_dev;
}

}  // namespace

ProgramRun runProgram(const std::vector<std::string>& arguments) {
    std::optional<Command> command = commandOf(arguments);
    if (!command) return {-1, "no program " + (arguments.empty() ? std::string() : arguments[0])};
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return {-1, std::string("no pipe: ") + std::strerror(errno)};
    const pid_t child = ::fork();
    const int forkError = errno;
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::dup2(pipeEnds[1], STDERR_FILENO);
        ::execv(command->argv[0], command->argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    if (child < 0) {
        ::close(pipeEnds[0]);
        return {-1, std::string("cannot start ") + arguments[0] + ": " + std::strerror(forkError)};
    }
    ProgramRun run{-1, {}};
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        const std::size_t room = kOutputKept - std::min(kOutputKept, run.output.size());
        run.output.append(buffer, std::min(room, static_cast<std::size_t>(got)));
    }
    ::close(pipeEnds[0]);
    run.exitStatus = waitFor(child);
    return run;
}

std::optional<std::string> NtfsImage::whyUnavailable() {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        return std::string("the FUSE device /dev/fuse cannot be used: ") + std::strerror(errno);
    }
    for (const char* tool : {"mkntfs", "ntfs-3g", "ntfsfix"}) {
        if (!findProgram(tool)) {
            return std::string("no ") + tool + ": the ntfs-3g package is missing (scripts/install-build-tools.sh)";
        }
    }
    return std::nullopt;
}

NtfsImage::NtfsImage(fs::path image, fs::path mountPoint, unsigned megabytes)
    : image_(std::move(image)), mountPoint_(std::move(mountPoint)), driverLog_(image_.string() + ".driver-log") {
    const int file = ::open(image_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const bool sized = file >= 0 && ::ftruncate(file, static_cast<off_t>(megabytes) * 1024 * 1024) == 0;
    if (file >= 0) ::close(file);
    if (!sized) throw std::runtime_error("cannot make the image file " + image_.string());
    // Quick: an image file has no bad sectors to look for.
    const ProgramRun made = runProgram({"mkntfs", "-F", "-Q", "-q", image_.string()});
    if (made.exitStatus != 0) throw std::runtime_error("mkntfs failed: " + made.output);
}

NtfsImage::~NtfsImage() {
    try {
        unmount();
    } catch (const std::exception&) {
        // The driver has ended all the same; nothing is left mounted.
    }
}

std::optional<std::string> NtfsImage::mount(const std::string& options) {
    if (mounted()) return "already mounted";
    std::optional<Command> command = commandOf({"ntfs-3g", "-o", options.empty() ? "no_detach" : "no_detach," + options,
                                                image_.string(), mountPoint_.string()});
    if (!command) return "no ntfs-3g";
    const int log = ::open(driverLog_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (log < 0) return "cannot write " + driverLog_.string();
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    const int forkError = errno;
    if (child == 0) {
        // Should the test die, the driver unmounts and ends on this signal.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(1);
        ::dup2(log, STDOUT_FILENO);
        ::dup2(log, STDERR_FILENO);
        ::execv(command->argv[0], command->argv.data());
        ::_exit(127);
    }
    ::close(log);
    if (child < 0) return std::string("cannot start ntfs-3g: ") + std::strerror(forkError);
    driver_ = child;
    if (awaitMount()) return std::nullopt;
    if (mounted()) {
        ::kill(driver_, SIGTERM);
        awaitDriver();
        return "ntfs-3g did not mount the image within " + std::to_string(kMountDeadline.count()) + " s";
    }
    const std::string words = textOf(driverLog_);
    return words.empty() ? "ntfs-3g ended without a word" : words;
}

bool NtfsImage::awaitMount() {
    const auto deadline = std::chrono::steady_clock::now() + kMountDeadline;
    while (std::chrono::steady_clock::now() < deadline) {
        if (isMountPoint(mountPoint_)) return true;
        int status = 0;
        if (::waitpid(driver_, &status, WNOHANG) == driver_) {
            driver_ = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int NtfsImage::awaitDriver() {
    const int status = waitFor(driver_);
    driver_ = -1;
    return status;
}

void NtfsImage::unmount() {
    if (!mounted()) return;
    // As a person would; a mount that cannot go (a file still open in it)
    // is left to the driver, which detaches it when told to end.
    if (::umount2(mountPoint_.c_str(), 0) != 0) ::kill(driver_, SIGTERM);
    const int status = awaitDriver();
    if (status != 0) {
        throw std::runtime_error("ntfs-3g ended with status " + std::to_string(status) + ": " + textOf(driverLog_));
    }
}

ProgramRun NtfsImage::check() const { return runProgram({"ntfsfix", "-n", image_.string()}); }

}  // namespace brisko::testing
