#pragma once
// The simulated machine's process table. A process runs an image (whose
// file it holds open) and may hold further files; ending it releases them.
// A process can refuse to end, refuse every open, or refuse opens until
// the debug privilege is enabled. Tool Help and PSAPI can each be missing.
// Records every open and counts the process handles still open.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/fake_file_system.h"
#include "platform/fake/fake_privileges.h"
#include "platform/processes.h"

namespace brisko::fake {

struct FakeProcess {
    std::uint32_t id;
    // Full path of the image; empty for a program whose image the system
    // does not name.
    std::string imagePath;
    // szExeFile of its Tool Help entry: the full path, as on the 9x family.
    std::string snapshotName;
    // Its instance name in the performance data: the image's file name
    // without the extension.
    std::string instanceName;
    bool refusesTermination = false;
    bool refusesOpen = false;
    bool needsDebugPrivilege = false;
};

struct ProcessOpening {
    std::uint32_t processId;
    std::uint32_t access;
};

class FakeProcesses : public Processes {
public:
    FakeProcesses(FaultPlan& faults, FakeFileSystem& files, FakePrivileges& privileges)
        : faults_(faults), files_(files), privileges_(privileges) {}

    // Starts a program running the image at imagePath (empty: unnamed),
    // holding that file open; returns its id.
    std::uint32_t start(const std::string& imagePath);
    // Starts a program with an id of the test's choosing.
    void startWithId(std::uint32_t id, const std::string& imagePath);
    // The running process of that id; throws when there is none.
    FakeProcess& process(std::uint32_t id);
    bool isRunning(std::uint32_t id) const;
    void end(std::uint32_t id);
    const std::vector<FakeProcess>& running() const { return running_; }

    void removeToolHelp() { toolHelp_ = false; }
    void removePsapi() { psapi_ = false; }

    const std::vector<ProcessOpening>& openings() const { return openings_; }
    int openHandles() const { return openHandles_; }

    std::unique_ptr<ProcessSnapshot> snapshotProcesses() override;
    bool listProcessIds(std::uint32_t* ids, std::uint32_t capacityBytes, std::uint32_t& bytesReturned) override;
    std::unique_ptr<OpenedProcess> openProcess(std::uint32_t processId, std::uint32_t access,
                                               std::uint32_t& lastError) override;

private:
    class Handle;
    class Snapshot;

    FaultPlan& faults_;
    FakeFileSystem& files_;
    FakePrivileges& privileges_;
    std::vector<FakeProcess> running_;
    std::uint32_t lastId_ = 1000;
    bool toolHelp_ = true;
    bool psapi_ = true;
    std::vector<ProcessOpening> openings_;
    int openHandles_ = 0;
};

}  // namespace brisko::fake
