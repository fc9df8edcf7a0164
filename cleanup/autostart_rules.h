#pragma once
// Whether an autostart value starts the infected file: the two rules by
// which the cleanup decides, apart from the registry. Paths are compared
// as a 64-bit program reads them, in whichever view the value stands:
// System32 is the native folder and SysWOW64 the 32-bit one. Every backend
// names the infected file by that true path, the 32-bit build under WoW64
// and an offline volume alike, so a value naming System32 never matches a
// file of SysWOW64.

namespace brisko {

enum class AutostartVerdict {
    kKeep,
    // A bare reference (no folder, or a folder from the drive's root) to
    // the infected file's name, which lies in a system folder: delete.
    kDeleteSystemFileReference,
    // A bare reference to the name of an infected file outside the system
    // folders: kept, and the full path is not compared either.
    kKeepBareReference,
    // The data, or its expansion, begins with the infected file's full path.
    kDeleteFullPath,
};

// Judges one value. All texts are lower-cased already; expanded is the data
// with its environment references expanded, or null when no usable
// expansion exists (only the data is compared then).
AutostartVerdict judgeAutostartValue(const char* data, const char* expanded, const char* infectedPath);

}  // namespace brisko
