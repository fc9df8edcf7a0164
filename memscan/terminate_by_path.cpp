// Ending the processes that run a given file, by whichever list the
// running system offers: Tool Help by file name on the 9x family, PSAPI by
// whole path on NT 5, the performance data by instance name elsewhere.
#include <cstring>
#include <memory>

#include "base/path_name.h"
#include "base/text_compare.h"
#include "memscan/memory_scan.h"
#include "platform/system_family.h"
#include "memscan/process_list.h"
#include "memscan/process_name_table.h"
#include "platform/message_box_flags.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr std::uint32_t kEndAccess = kProcessTerminate | kProcessQueryInformation;
constexpr unsigned kPauseAfterEnding = 500;
constexpr unsigned kPauseBetweenEntries = 100;
constexpr unsigned kPauseBeforeOpening = 50;
constexpr std::size_t kExtensionLength = 4;

bool endProcess(std::uint32_t processId, std::uint32_t access) {
    std::uint32_t lastError = 0;
    std::unique_ptr<OpenedProcess> process = processes().openProcess(processId, access, lastError);
    return process && process->terminate(0);
}

// Ends the first process whose executable has the file name of path.
int endFirstByFileName(const char* path) {
    std::unique_ptr<ProcessSnapshot> snapshot = processes().snapshotProcesses();
    systemServices().sleepMilliseconds(kPauseBetweenEntries);
    systemServices().sleepMilliseconds(kPauseBetweenEntries);
    if (!snapshot) return 0;
    const char* target = fileNameOf(path);
    SnapshotEntry entry{};
    if (!snapshot->first(entry)) return 0;
    for (;;) {
        entry.exeFile[kPathCapacity - 1] = '\0';
        if (equalIgnoringCase(fileNameOf(entry.exeFile), target)) break;
        systemServices().sleepMilliseconds(kPauseBetweenEntries);
        if (!snapshot->next(entry)) return 0;
        systemServices().sleepMilliseconds(kPauseBetweenEntries);
    }
    systemServices().sleepMilliseconds(kPauseBeforeOpening);
    const int ended = endProcess(entry.processId, kEndAccess) ? 1 : 0;
    systemServices().sleepMilliseconds(kPauseAfterEnding);
    return ended;
}

// Ends every process whose image path equals path; 1 also when none did.
int endAllByWholePath(const char* path) {
    ProcessList list;
    if (!listProcessesByPsapi(list, DebugPrivilegeStep::kNever)) return 0;
    const std::size_t length = std::strlen(path);
    for (const ProcessEntry& entry : list) {
        if (std::strlen(entry.imagePath) != length || !equalIgnoringCase(entry.imagePath, path, length)) continue;
        if (endProcess(entry.processId, kEndAccess)) systemServices().sleepMilliseconds(kPauseAfterEnding);
    }
    return 1;
}

// Ends every process whose instance name begins with the file name of path
// without its extension; 1 when one was ended.
int endAllByInstanceName(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length <= kExtensionLength) return 0;
    char withoutExtension[kPathCapacity];
    if (length - kExtensionLength >= sizeof withoutExtension) return 0;
    std::memcpy(withoutExtension, path, length - kExtensionLength);
    withoutExtension[length - kExtensionLength] = '\0';
    const char* baseName = fileNameOf(withoutExtension);
    const std::size_t baseLength = std::strlen(baseName);
    // An empty base name would begin every instance name.
    if (baseLength == 0) return 0;

    ProcessNameTable table;
    readProcessNameTable(table);
    int ended = 0;
    for (unsigned i = 0; i < table.filled; ++i) {
        const ProcessNameSlot& slot = table.slots[i];
        if (!equalIgnoringCase(slot.instanceName, baseName, baseLength)) continue;
        if (endProcess(slot.processId, kProcessTerminate)) ended = 1;
        systemServices().sleepMilliseconds(kPauseAfterEnding);
    }
    return ended;
}

int reportUnkillable(const char* path) {
    systemControl().showSystemMessage("Could not kill process", path, kMessageOk);
    return 0;
}

}  // namespace

int terminateByPath(const char* path) {
    const SystemFamily family = platformFamily();
    if (family == kFamilyWindows9x) return endFirstByFileName(path) != 0 ? 1 : reportUnkillable(path);
    if (family != kFamilyNt) return 1;
    if (ntGeneration() == kGenerationNt5) return endAllByWholePath(path);
    return endAllByInstanceName(path) != 0 ? 1 : reportUnkillable(path);
}

}  // namespace brisko
