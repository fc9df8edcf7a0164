#include "tests/sweep/sweep_run.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <optional>

#include "scan/scan.h"
#include "scan/scan_driver.h"
#include "tests/support/recorded_scan.h"
#include "ui/window_front_end.h"

namespace brisko::sweep {
namespace {

namespace fs = std::filesystem;

FileSnapshot snapshotFiles(fake::FakeMachine& machine) {
    FileSnapshot files;
    const std::optional<fs::path> drive = machine.fakeFiles().hostPathOf("C:\\");
    if (!drive) return files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(*drive)) {
        if (!entry.is_regular_file()) continue;
        std::string windowsPath = "C:\\" + fs::relative(entry.path(), *drive).string();
        for (char& c : windowsPath) {
            if (c == '/') c = '\\';
        }
        std::ifstream in(entry.path(), std::ios::binary);
        files[snapshotKey(windowsPath)] = {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    return files;
}

MachineState snapshotMachine(fake::FakeMachine& machine) {
    MachineState state;
    state.files = snapshotFiles(machine);
    for (const auto& [key, values] : machine.fakeRegistry().contents()) {
        state.keys.push_back(key);
        for (const fake::RegistryValue& value : values) {
            state.values[snapshotKey(key + "\\" + value.name)] = {value.type, value.data};
        }
    }
    return state;
}

// Questions are answered as the scenario says, then No.
class ScriptedWindowFrontEnd : public WindowFrontEnd {
public:
    ScriptedWindowFrontEnd(WindowHandle window, std::deque<int> answers)
        : WindowFrontEnd(window), answers_(std::move(answers)) {}
    int ask(const Question&) override { return testing::takeFront(answers_, kAnswerNo); }

private:
    std::deque<int> answers_;
};

std::string shortPathOf(fake::FakeMachine& machine, const std::string& path) {
    char shortPath[kPathCapacity] = {};
    const unsigned length = machine.fakeFiles().shortPathName(path.c_str(), shortPath, sizeof shortPath);
    return length > 0 && length < sizeof shortPath ? shortPath : "";
}

}  // namespace

std::string snapshotKey(const std::string& text) {
    std::string key = text;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

ScanRecord runScenario(const Scenario& scenario, std::optional<InjectedFault> fault,
                       std::vector<fake::SeamCall>* calls) {
    ScanRecord record;
    fake::FakeMachine machine;
    scenario.arrange(machine);
    // The dialog's own front end, over a window of the simulated machine.
    std::optional<Scan> scan;
    const WindowHandle window = machine.fakeWindows().createWindow([&](const WindowMessage& message) {
        if (message.id == kAppendLineMessage) record.lines.emplace_back(scan->session().reportLine);
    });
    ScriptedWindowFrontEnd frontEnd(window, scenario.dialogAnswers);
    scan.emplace(frontEnd);
    ScanSession& scanSession = scan->session();
    scanSession.reportWindow = window;
    std::snprintf(scanSession.scanTarget, sizeof scanSession.scanTarget, "%s", scenario.scanTarget);
    scanSession.userAction = kActionRemove;
    for (const std::string& path : scenario.doomedFiles) record.shortPaths[snapshotKey(path)] = shortPathOf(machine, path);
    record.before = snapshotMachine(machine);

    fake::FaultPlan& plan = machine.faults();
    if (calls != nullptr) plan.recordCalls();
    if (fault) plan.failCallNumber(fault->callNumber, fault->fault);
    try {
        runScanDriver(*scan);
    } catch (const fake::ProgramExited&) {
        record.exited = true;
    }
    if (calls != nullptr) *calls = plan.recordedCalls();

    record.after = snapshotMachine(machine);
    record.session = scanSession;
    record.deletionsAtRestart = machine.fakeFiles().deletionsAtRestart();
    return record;
}

}  // namespace brisko::sweep
