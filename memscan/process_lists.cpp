#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "memscan/privilege_steps.h"
#include "memscan/process_list.h"
#include "platform/platform.h"

namespace brisko {
namespace {

constexpr unsigned kMaximumProcessIds = 1024;
constexpr std::uint32_t kQueryAndRead = kProcessQueryInformation | kProcessVmRead;

void append(ProcessList& list, std::uint32_t processId, const char* imagePath) {
    ProcessEntry entry{};
    entry.processId = processId;
    std::strncpy(entry.imagePath, imagePath, kPathCapacity - 1);
    list.push_back(entry);
}

bool fillFromToolHelp(ProcessList& list) {
    std::unique_ptr<ProcessSnapshot> snapshot = processes().snapshotProcesses();
    if (!snapshot) return false;
    SnapshotEntry entry{};
    if (!snapshot->first(entry)) return false;
    do {
        entry.exeFile[kPathCapacity - 1] = '\0';
        append(list, entry.processId, entry.exeFile);
    } while (snapshot->next(entry));
    return true;
}

bool fillFromPsapi(ProcessList& list, DebugPrivilegeStep step) {
    std::uint32_t ids[kMaximumProcessIds] = {};
    std::uint32_t bytesReturned = 0;
    if (!processes().listProcessIds(ids, sizeof ids, bytesReturned)) return false;
    const std::uint32_t count = std::min<std::uint32_t>(bytesReturned / sizeof ids[0], kMaximumProcessIds);
    if (count == 0) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t lastError = 0;
        std::unique_ptr<OpenedProcess> process = processes().openProcess(ids[i], kQueryAndRead, lastError);
        if (lastError == static_cast<std::uint32_t>(kErrorAccessDenied) && step == DebugPrivilegeStep::kOnRefusal) {
            enableDebugPrivilege();
            process = processes().openProcess(ids[i], kQueryAndRead, lastError);
        }
        if (!process) continue;
        char imagePath[kPathCapacity] = {};
        if (process->imagePath(imagePath, sizeof imagePath) != 0) append(list, ids[i], imagePath);
    }
    return true;
}

// An entry that cannot be allocated ends the list: no half-made list is
// ever scanned.
template <typename Fill>
bool listOrNothing(ProcessList& list, Fill fill) {
    list.clear();
    try {
        if (fill()) return true;
    } catch (const std::bad_alloc&) {
    }
    ProcessList().swap(list);
    return false;
}

}  // namespace

bool listProcessesByToolHelp(ProcessList& list) {
    return listOrNothing(list, [&] { return fillFromToolHelp(list); });
}

bool listProcessesByPsapi(ProcessList& list, DebugPrivilegeStep step) {
    return listOrNothing(list, [&] { return fillFromPsapi(list, step); });
}

}  // namespace brisko
