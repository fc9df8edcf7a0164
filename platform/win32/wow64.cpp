#include "platform/win32/windows_api.h"

#include "platform/win32/wow64.h"

#include "platform/win32/entry_point.h"

namespace brisko {
namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, BOOL*);
using DisableRedirectionFunction = BOOL(WINAPI*)(void**);
using RevertRedirectionFunction = BOOL(WINAPI*)(void*);

bool askWow64() {
#ifdef _WIN64
    return false;
#else
    auto isWow64Process = resolveEntryPoint<IsWow64ProcessFunction>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// Both or neither: a redirection turned off must be turned on again.
struct RedirectionSwitch {
    DisableRedirectionFunction disable = nullptr;
    RevertRedirectionFunction revert = nullptr;
};

const RedirectionSwitch& redirectionSwitch() {
    static const RedirectionSwitch found = [] {
        RedirectionSwitch entries;
        if (!runsUnderWow64()) return entries;
        entries.disable =
            resolveEntryPoint<DisableRedirectionFunction>("kernel32.dll", "Wow64DisableWow64FsRedirection");
        entries.revert = resolveEntryPoint<RevertRedirectionFunction>("kernel32.dll", "Wow64RevertWow64FsRedirection");
        if (entries.disable == nullptr || entries.revert == nullptr) entries = RedirectionSwitch{};
        return entries;
    }();
    return found;
}

}  // namespace

bool runsUnderWow64() {
    static const bool wow64 = askWow64();
    return wow64;
}

TrueFileSystemView::TrueFileSystemView() {
    const RedirectionSwitch& entries = redirectionSwitch();
    if (entries.disable != nullptr) redirectionOff_ = entries.disable(&redirectionState_) != FALSE;
}

TrueFileSystemView::~TrueFileSystemView() {
    if (redirectionOff_) redirectionSwitch().revert(redirectionState_);
}

}  // namespace brisko
