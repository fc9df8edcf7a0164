#include "memscan/memory_scan.h"

#include <cstring>
#include <memory>

#include "base/path_name.h"
#include "base/program_identity.h"
#include "engine/scan_session.h"
#include "memscan/image_walks.h"
#include "platform/system_family.h"
#include "memscan/process_list.h"
#include "memscan/restart.h"
#include "memscan/service_cleanup.h"
#include "platform/platform.h"
#include "ui/message_dialog.h"

namespace brisko {

std::int32_t memoryRestartNeeded = 0;

namespace {

constexpr std::uint32_t kEndAccess = kProcessTerminate | kProcessQueryInformation;

bool endProcess(std::uint32_t processId) {
    std::uint32_t lastError = 0;
    std::unique_ptr<OpenedProcess> process = processes().openProcess(processId, kEndAccess, lastError);
    return process && process->terminate(0);
}

bool treatsProcesses() {
    return scanSession.userAction == kActionRemove || scanSession.userAction == kActionRename ||
           scanSession.userAction == kActionRemoveToo;
}

// The image's file name without its extension: the name a service that
// runs it would have.
void serviceNameOf(const char* imagePath, char* name, std::size_t capacity) {
    std::strncpy(name, fileNameOf(imagePath), capacity - 1);
    name[capacity - 1] = '\0';
    if (char* dot = std::strrchr(name, '.')) *dot = '\0';
}

void run9xPass() {
    ProcessList list;
    if (!listProcessesByToolHelp(list)) return;
    for (const ProcessEntry& entry : list) {
        walkOverImage(entry.imagePath);
        if (!scanSession.foundInMemory || scanSession.userAction == kActionLeave) continue;
        endProcess(entry.processId);
        // Ended or not, the file goes to the disposition, which deals with
        // a file in use.
        disposalWalkOverImage(entry.imagePath);
    }
}

// 1 when an infected process was left running in this pass, its service
// not stopped: only a restart can remove it.
int runNtPass() {
    ProcessList list;
    if (!listProcessesByPsapi(list, DebugPrivilegeStep::kOnRefusal)) return 0;
    int leftRunning = 0;
    for (const ProcessEntry& entry : list) {
        walkOverImage(entry.imagePath);
        if (!scanSession.foundInMemory || !treatsProcesses()) continue;
        if (endProcess(entry.processId) || endProcess(entry.processId)) {
            disposalWalkOverImage(entry.imagePath);
            continue;
        }
        const NtGeneration generation = ntGeneration();
        if (generation != kGenerationNt4 && generation != kGenerationNt5) continue;
        char serviceName[kPathCapacity];
        serviceNameOf(entry.imagePath, serviceName, sizeof serviceName);
        if (stopService(serviceName) != 0) {
            deleteServiceEntries(serviceName);
            disposalWalkOverImage(entry.imagePath);
            continue;
        }
        deleteServiceEntries(serviceName);
        memoryRestartNeeded = 1;
        leftRunning = 1;
    }
    return leftRunning;
}

void promptRestartAndExit() {
    if (ShowMessageDialog("W32/Krenot.Trojan  found in memory! registry entries created by the worm are removed. "
                          "You must restart the computer and run this program to continue scanning.\n\n"
                          "Restart the computer now?",
                          programTitle, kMessageOkCancel | kMessageIconInformation) == kAnswerOk) {
        restartSystem();
    }
    systemControl().exitProgram(0);
}

}  // namespace

void runMemoryScan() {
    const SystemFamily family = platformFamily();
    scanSession.inMemoryScan = 1;
    if (family == kFamilyWindows9x) run9xPass();
    if (family == kFamilyNt && runNtPass() != 0) promptRestartAndExit();
    scanSession.inMemoryScan = 0;
}

}  // namespace brisko
