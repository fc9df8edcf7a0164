#include "platform/fake/fake_processes.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace brisko::fake {
namespace {

constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorInvalidParameter = 87;

// Copies text into a fixed buffer, cut to fit; the length copied.
unsigned copyCut(const std::string& text, char* buffer, unsigned capacity) {
    if (capacity == 0) return 0;
    const unsigned length = static_cast<unsigned>(std::min<std::size_t>(text.size(), capacity - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

std::string instanceNameOf(const std::string& imagePath) {
    const std::size_t slash = imagePath.find_last_of('\\');
    std::string name = slash == std::string::npos ? imagePath : imagePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

class FakeProcesses::Handle : public OpenedProcess {
public:
    Handle(FakeProcesses& owner, std::uint32_t id) : owner_(owner), id_(id) { ++owner_.openHandles_; }
    ~Handle() override { --owner_.openHandles_; }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    unsigned imagePath(char* buffer, unsigned capacity) override {
        if (owner_.faults_.fails(SeamCall::kImagePath) || !owner_.isRunning(id_)) return 0;
        return copyCut(owner_.process(id_).imagePath, buffer, capacity);
    }

    bool terminate(std::uint32_t) override {
        if (owner_.faults_.fails(SeamCall::kTerminateProcess) || !owner_.isRunning(id_) || owner_.process(id_).refusesTermination) return false;
        owner_.end(id_);
        return true;
    }

private:
    FakeProcesses& owner_;
    std::uint32_t id_;
};

// Taken at once, as Tool Help does: later starts and ends are not seen.
class FakeProcesses::Snapshot : public ProcessSnapshot {
public:
    Snapshot(FaultPlan& faults, std::vector<FakeProcess> processes)
        : faults_(faults), processes_(std::move(processes)) {}

    bool first(SnapshotEntry& entry) override {
        if (faults_.fails(SeamCall::kSnapshotFirst)) return false;
        next_ = 0;
        return nextEntry(entry);
    }
    bool next(SnapshotEntry& entry) override {
        return !faults_.fails(SeamCall::kSnapshotNext) && nextEntry(entry);
    }

private:
    bool nextEntry(SnapshotEntry& entry) {
        if (next_ >= processes_.size()) return false;
        const FakeProcess& process = processes_[next_++];
        entry.processId = process.id;
        copyCut(process.snapshotName, entry.exeFile, sizeof entry.exeFile);
        return true;
    }

    FaultPlan& faults_;
    std::vector<FakeProcess> processes_;
    std::size_t next_ = 0;
};

std::uint32_t FakeProcesses::start(const std::string& imagePath) {
    startWithId(++lastId_, imagePath);
    return lastId_;
}

void FakeProcesses::startWithId(std::uint32_t id, const std::string& imagePath) {
    if (isRunning(id)) throw std::invalid_argument("process id already in use");
    FakeProcess process;
    process.id = id;
    process.imagePath = imagePath;
    process.snapshotName = imagePath;
    process.instanceName = instanceNameOf(imagePath);
    running_.push_back(process);
    if (!imagePath.empty()) files_.holdFile(imagePath, static_cast<int>(id));
}

FakeProcess& FakeProcesses::process(std::uint32_t id) {
    for (FakeProcess& process : running_) {
        if (process.id == id) return process;
    }
    throw std::out_of_range("no process " + std::to_string(id));
}

bool FakeProcesses::isRunning(std::uint32_t id) const {
    return std::any_of(running_.begin(), running_.end(), [id](const FakeProcess& p) { return p.id == id; });
}

void FakeProcesses::end(std::uint32_t id) {
    running_.erase(std::remove_if(running_.begin(), running_.end(),
                                  [id](const FakeProcess& p) { return p.id == id; }),
                   running_.end());
    files_.releaseFilesOf(static_cast<int>(id));
}

std::unique_ptr<ProcessSnapshot> FakeProcesses::snapshotProcesses() {
    if (faults_.fails(SeamCall::kSnapshotProcesses) || !toolHelp_) return nullptr;
    return std::make_unique<Snapshot>(faults_, running_);
}

bool FakeProcesses::listProcessIds(std::uint32_t* ids, std::uint32_t capacityBytes, std::uint32_t& bytesReturned) {
    if (faults_.fails(SeamCall::kListProcessIds) || !psapi_) return false;
    const std::size_t fits = std::min<std::size_t>(running_.size(), capacityBytes / sizeof(std::uint32_t));
    for (std::size_t i = 0; i < fits; ++i) ids[i] = running_[i].id;
    bytesReturned = static_cast<std::uint32_t>(fits * sizeof(std::uint32_t));
    return true;
}

std::unique_ptr<OpenedProcess> FakeProcesses::openProcess(std::uint32_t processId, std::uint32_t access,
                                                          std::uint32_t& lastError) {
    openings_.push_back({processId, access});
    if (faults_.fails(SeamCall::kOpenProcess)) {
        lastError = kErrorAccessDenied;
        return nullptr;
    }
    if (!isRunning(processId)) {
        lastError = kErrorInvalidParameter;
        return nullptr;
    }
    const FakeProcess& target = process(processId);
    if (target.refusesOpen || (target.needsDebugPrivilege && !privileges_.isEnabled("SeDebugPrivilege"))) {
        lastError = kErrorAccessDenied;
        return nullptr;
    }
    lastError = 0;
    return std::make_unique<Handle>(*this, processId);
}

}  // namespace brisko::fake
