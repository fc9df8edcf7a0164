#pragma once
// One scenario of the fault sweep, one whole scan of it on a fresh
// simulated machine (with one seam call made to fail, or none), and what
// that scan left behind: the machine's files and registry before and
// after, the report lines and the session's figures.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "session/scan_session.h"
#include "platform/fake/fake_machine.h"

namespace brisko::sweep {

struct RegistryValueName {
    std::string key;
    std::string name;
};

struct Scenario {
    const char* name;
    // Lays out the machine: version, files, registry, processes, services.
    std::function<void(fake::FakeMachine&)> arrange;
    const char* scanTarget;
    std::deque<int> dialogAnswers;
    // What the scan may take away; whatever else stays as it was.
    std::vector<std::string> doomedFiles;
    // Values the autostart cleanup deletes, each with a "System Registry" line.
    std::vector<RegistryValueName> autostartValues;
    // The variant's entries, deleted without a line.
    std::vector<RegistryValueName> variantValues;
    std::vector<std::string> doomedKeys;
    // The file left locked, to be deleted at the next start; empty for none.
    // Any doomed file may end up scheduled when a failure keeps it.
    std::string lockedFile;
    // wininit.ini before the scan and with the entry added, "{entry}"
    // standing where the entry goes; no template: there is none before.
    std::optional<std::string> wininitTemplate;
    // The scan may end the program (the memory scan's restart prompt).
    bool mayExit = false;
};

// The files by Windows path in capitals, with their bytes.
using FileSnapshot = std::map<std::string, std::string>;
// The registry values by "KEY\NAME" in capitals, with type and data.
using ValueSnapshot = std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>>;

struct MachineState {
    FileSnapshot files;
    ValueSnapshot values;
    std::vector<std::string> keys;
};

struct ScanRecord {
    MachineState before;
    MachineState after;
    std::vector<std::string> lines;
    ScanSession session;
    bool exited = false;
    // The short paths of the doomed files by snapshot key, taken before the scan.
    std::map<std::string, std::string> shortPaths;
    std::vector<std::string> deletionsAtRestart;
};

struct InjectedFault {
    std::uint64_t callNumber;
    fake::Fault fault;
};

// Runs the scenario's whole scan; with a fault, the seam call of that
// number (counted from the scan's start) goes wrong. calls, when given,
// receives the kinds of the seam calls the scan made.
ScanRecord runScenario(const Scenario& scenario, std::optional<InjectedFault> fault,
                       std::vector<fake::SeamCall>* calls = nullptr);

// Key of a path or value name in the snapshots.
std::string snapshotKey(const std::string& text);

}  // namespace brisko::sweep
