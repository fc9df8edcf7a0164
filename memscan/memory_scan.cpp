#include "memscan/memory_scan.h"

#include <cstring>
#include <memory>

#include "base/path_name.h"
#include "memscan/image_walks.h"
#include "platform/system_family.h"
#include "memscan/process_list.h"
#include "memscan/restart.h"
#include "memscan/service_cleanup.h"
#include "platform/platform.h"

namespace brisko {

namespace {

constexpr std::uint32_t kEndAccess = kProcessTerminate | kProcessQueryInformation;

bool endProcess(std::uint32_t processId) {
    std::uint32_t lastError = 0;
    std::unique_ptr<OpenedProcess> process = processes().openProcess(processId, kEndAccess, lastError);
    return process && process->terminate(0);
}

bool treatsProcesses(const ScanSession& session) {
    return session.userAction == kActionRemove || session.userAction == kActionRename ||
           session.userAction == kActionRemoveToo;
}

// The image's file name without its extension: the name a service that
// runs it would have.
void serviceNameOf(const char* imagePath, char* name, std::size_t capacity) {
    std::strncpy(name, fileNameOf(imagePath), capacity - 1);
    name[capacity - 1] = '\0';
    if (char* dot = std::strrchr(name, '.')) *dot = '\0';
}

void run9xPass(ScanContext& scan, FileVisitor& examiner) {
    ProcessList list;
    if (!listProcessesByToolHelp(list)) return;
    for (const ProcessEntry& entry : list) {
        walkOverImage(scan, examiner, entry.imagePath);
        if (!scan.session.foundInMemory || scan.session.userAction == kActionLeave) continue;
        endProcess(entry.processId);
        // Ended or not, the file goes to the disposition, which deals with
        // a file in use.
        disposalWalkOverImage(scan, examiner, entry.imagePath);
    }
}

// 1 when an infected process was left running in this pass, its service
// not stopped: only a restart can remove it.
int runNtPass(ScanContext& scan, FileVisitor& examiner) {
    ProcessList list;
    if (!listProcessesByPsapi(list, DebugPrivilegeStep::kOnRefusal)) return 0;
    int leftRunning = 0;
    for (const ProcessEntry& entry : list) {
        walkOverImage(scan, examiner, entry.imagePath);
        if (!scan.session.foundInMemory || !treatsProcesses(scan.session)) continue;
        if (endProcess(entry.processId) || endProcess(entry.processId)) {
            disposalWalkOverImage(scan, examiner, entry.imagePath);
            continue;
        }
        const NtGeneration generation = ntGeneration();
        if (generation != kGenerationNt4 && generation != kGenerationNt5) continue;
        char serviceName[kPathCapacity];
        serviceNameOf(entry.imagePath, serviceName, sizeof serviceName);
        if (stopService(serviceName) != 0) {
            deleteServiceEntries(serviceName);
            disposalWalkOverImage(scan, examiner, entry.imagePath);
            continue;
        }
        deleteServiceEntries(serviceName);
        scan.session.memoryRestartNeeded = 1;
        leftRunning = 1;
    }
    return leftRunning;
}

void promptRestartAndExit(ScanContext& scan) {
    if (scan.ask(kMemoryRestartQuestion) == kAnswerOk) {
        restartSystem();
    }
    systemControl().exitProgram(0);
}

}  // namespace

void runMemoryScan(ScanContext& scan, FileVisitor& examiner) {
    const SystemFamily family = platformFamily();
    scan.session.inMemoryScan = 1;
    if (family == kFamilyWindows9x) run9xPass(scan, examiner);
    if (family == kFamilyNt && runNtPass(scan, examiner) != 0) promptRestartAndExit(scan);
    scan.session.inMemoryScan = 0;
}

}  // namespace brisko
