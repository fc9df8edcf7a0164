#pragma once
// Entry points of system libraries that not every Windows version has,
// found by name at run time.
#include "platform/win32/windows_api.h"

namespace brisko {

// Resolves an entry point by name; null when the library or the entry
// point is missing. Libraries stay loaded for the program's lifetime.
template <typename Function>
Function resolveEntryPoint(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace brisko
