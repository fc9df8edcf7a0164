#include "platform/win32/windows_api.h"

#include <tlhelp32.h>

#include "platform/win32/entry_point.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/win32_processes.h"

#include <cstring>

namespace brisko {
namespace {

using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using EnumProcessesFunction = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using ModuleFileNameFunction = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

void copyEntry(const PROCESSENTRY32& from, SnapshotEntry& to) {
    static_assert(sizeof from.szExeFile <= sizeof to.exeFile, "an executable name must fit");
    to.processId = from.th32ProcessID;
    std::memcpy(to.exeFile, from.szExeFile, sizeof from.szExeFile);
    to.exeFile[sizeof to.exeFile - 1] = '\0';
}

class Win32Snapshot final : public ProcessSnapshot {
public:
    Win32Snapshot(HANDLE snapshot, ProcessWalkFunction first, ProcessWalkFunction next)
        : snapshot_(snapshot, INVALID_HANDLE_VALUE), first_(first), next_(next) {}

    bool first(SnapshotEntry& entry) override { return walk(first_, entry); }
    bool next(SnapshotEntry& entry) override { return walk(next_, entry); }

private:
    bool walk(ProcessWalkFunction step, SnapshotEntry& entry) {
        PROCESSENTRY32 record;
        std::memset(&record, 0, sizeof record);
        record.dwSize = sizeof record;
        if (!step(snapshot_.get(), &record)) return false;
        copyEntry(record, entry);
        return true;
    }

    OwnedHandle snapshot_;
    ProcessWalkFunction first_;
    ProcessWalkFunction next_;
};

class Win32OpenedProcess final : public OpenedProcess {
public:
    explicit Win32OpenedProcess(HANDLE process) : process_(process, nullptr) {}

    unsigned imagePath(char* buffer, unsigned capacity) override {
        auto moduleFileName = resolveEntryPoint<ModuleFileNameFunction>("psapi.dll", "GetModuleFileNameExA");
        if (moduleFileName == nullptr || capacity == 0) return 0;
        const DWORD length = moduleFileName(process_.get(), nullptr, buffer, capacity);
        // A cut path is terminated by some versions and not by others.
        buffer[length < capacity ? length : capacity - 1] = '\0';
        return length < capacity ? length : capacity - 1;
    }

    bool terminate(std::uint32_t exitCode) override { return TerminateProcess(process_.get(), exitCode) != FALSE; }

private:
    OwnedHandle process_;
};

}  // namespace

std::unique_ptr<ProcessSnapshot> Win32Processes::snapshotProcesses() {
    auto create = resolveEntryPoint<CreateSnapshotFunction>("Kernel32.dll", "CreateToolhelp32Snapshot");
    auto first = resolveEntryPoint<ProcessWalkFunction>("Kernel32.dll", "Process32First");
    auto next = resolveEntryPoint<ProcessWalkFunction>("Kernel32.dll", "Process32Next");
    if (create == nullptr || first == nullptr || next == nullptr) return nullptr;
    HANDLE snapshot = create(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Snapshot>(snapshot, first, next);
}

bool Win32Processes::listProcessIds(std::uint32_t* ids, std::uint32_t capacityBytes, std::uint32_t& bytesReturned) {
    static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "process ids are 32 bits");
    auto enumProcesses = resolveEntryPoint<EnumProcessesFunction>("psapi.dll", "EnumProcesses");
    if (enumProcesses == nullptr ||
        resolveEntryPoint<ModuleFileNameFunction>("psapi.dll", "GetModuleFileNameExA") == nullptr) {
        return false;
    }
    DWORD returned = 0;
    if (!enumProcesses(reinterpret_cast<DWORD*>(ids), capacityBytes, &returned)) return false;
    bytesReturned = returned;
    return true;
}

std::unique_ptr<OpenedProcess> Win32Processes::openProcess(std::uint32_t processId, std::uint32_t access,
                                                           std::uint32_t& lastError) {
    HANDLE process = OpenProcess(access, FALSE, processId);
    lastError = process == nullptr ? GetLastError() : 0;
    if (process == nullptr) return nullptr;
    return std::make_unique<Win32OpenedProcess>(process);
}

}  // namespace brisko
