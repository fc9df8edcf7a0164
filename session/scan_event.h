#pragma once
// What happened during a scan, as a record for front ends that keep one of
// their own (a report file). The report line says the same for people.

namespace brisko {

enum class ScanEventKind {
    // A file the signatures name.
    kDetection,
    // A hosts file that carries the pattern.
    kHostsInfection,
    // What became of a detected file or hosts file: result says.
    kTreatment,
    // A registry value removed: where names the key, what the value.
    kRegistryValue,
    // A registry key removed with all under it (a service): where names it.
    kRegistryKey,
    // Something that could not be read or written: what says.
    kError,
};

struct ScanEvent {
    ScanEventKind kind;
    // The file, or the registry key; never null.
    const char* where;
    // The threat's name; null when none applies.
    const char* threat = nullptr;
    // The treatment's result ("removed", "renamed", "not removed", "rename
    // failed", "left"), the value's name, or the error; null when none.
    const char* what = nullptr;
    // The hive a registry event happened in, when not the running system's.
    const char* hive = nullptr;
    // The registry view of 64-bit Windows it happened in ("64-bit" or
    // "32-bit"); null where there is one view.
    const char* view = nullptr;
};

}  // namespace brisko
