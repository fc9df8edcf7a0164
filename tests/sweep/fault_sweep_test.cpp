// The fault sweep: each scenario's whole scan runs once as it is, counting
// the seam calls it makes, then once more for every one of those calls
// with that call failing (and, for reads and writes, coming back short),
// each time on a fresh machine. Whatever fails, the program must neither
// touch what is clean, nor break wininit.ini, nor claim what it did not do.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "matcher/threat_signature.h"
#include "cleanup/hosts_pattern.h"
#include "tests/support/hosts_texts.h"
#include "tests/sweep/sweep_checks.h"
#include "tests/sweep/sweep_run.h"
#include "tools/sample_writer/sample_writer.h"
#include "platform/message_box_flags.h"

namespace brisko::sweep {
namespace {

using fake::Fault;
using fake::FakeMachine;
using fake::SeamCall;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunServices = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\rhcjg7j0e38v";
constexpr const char* kInfected = "C:\\Apps\\evil.exe";
constexpr const char* kLocked = "C:\\Apps\\locked dll.dll";

const std::string& infectedImage() {
    static const std::string image = [] {
        const std::vector<std::uint8_t> sample = buildSample(signatureTable[0]);
        return std::string(sample.begin(), sample.end());
    }();
    return image;
}

// A Windows installation of the family with clean programs running from
// the Windows folder, one of them opened only with the debug privilege,
// and a clean file beside the ones the scenario adds.
void arrangeFamily(FakeMachine& machine, std::uint32_t platformId, std::uint32_t major) {
    machine.addWindowsInstallation();
    machine.fakeControl().setVersion(platformId, major);
    machine.writeFile("C:\\WINDOWS\\explorer.exe", "MZ clean program");
    machine.runProgram("C:\\WINDOWS\\explorer.exe");
    machine.writeFile("C:\\WINDOWS\\winlogon.exe", "MZ clean system program");
    const int system = machine.runProgram("C:\\WINDOWS\\winlogon.exe");
    machine.fakeProcesses().process(static_cast<std::uint32_t>(system)).needsDebugPrivilege = true;
    machine.writeFile("C:\\Apps\\readme.txt", "clean");
}

Scenario infectedFileRoad(const char* name, std::uint32_t platformId, std::uint32_t major, const char* target) {
    Scenario scenario;
    scenario.name = name;
    scenario.arrange = [platformId, major](FakeMachine& machine) {
        arrangeFamily(machine, platformId, major);
        machine.writeFile(kInfected, infectedImage());
        fake::FakeRegistry& registry = machine.fakeRegistry();
        registry.setString(kRun, "Updater", "\"C:\\Apps\\evil.exe\" /silent");
        registry.setString(kRun, "Other", "C:\\Apps\\other.exe");
        registry.setString(kUninstall, "UninstallString", "C:\\Apps\\uninstall.exe");
        registry.setString(kUninstall, "DisplayName", "Helper");
        registry.setString(kRun, "SMrhcjg7j0e38v", "C:\\Apps\\rhcjg7j0e38v.exe");
    };
    scenario.scanTarget = target;
    scenario.doomedFiles = {kInfected};
    scenario.autostartValues = {{kRun, "Updater"}};
    scenario.variantValues = {{kUninstall, "UninstallString"}, {kRun, "SMrhcjg7j0e38v"}};
    return scenario;
}

Scenario lockedFile(const char* name, std::uint32_t platformId, std::uint32_t major,
                    std::optional<std::string> wininit) {
    Scenario scenario;
    scenario.name = name;
    scenario.arrange = [platformId, major, wininit](FakeMachine& machine) {
        arrangeFamily(machine, platformId, major);
        machine.writeFile(kLocked, infectedImage());
        // A program holds the file without running it: nothing ends it.
        machine.runProgramHolding(kLocked);
        if (wininit) {
            const std::size_t entry = wininit->find("{entry}");
            machine.writeFile("C:\\WINDOWS\\wininit.ini", wininit->substr(0, entry) + wininit->substr(entry + 7));
        }
    };
    scenario.scanTarget = "C:\\Apps";
    scenario.dialogAnswers = {kAnswerYes};
    scenario.doomedFiles = {kLocked};
    scenario.lockedFile = kLocked;
    scenario.wininitTemplate = wininit;
    return scenario;
}

Scenario hostsFile(const char* name, std::uint32_t platformId, std::uint32_t major, const char* hostsPath,
                   bool infected) {
    Scenario scenario;
    scenario.name = name;
    scenario.arrange = [=](FakeMachine& machine) {
        arrangeFamily(machine, platformId, major);
        machine.writeFile(kInfected, infectedImage());
        machine.writeFile(hostsPath, infected ? "begin 600 hosts\n" + testing::plainHostsPatternText() + "\n"
                                              : "127.0.0.1       localhost\r\n");
    };
    scenario.scanTarget = "C:\\Apps";
    scenario.doomedFiles = {kInfected};
    if (infected) scenario.doomedFiles.push_back(hostsPath);
    return scenario;
}

Scenario autostartValues() {
    Scenario scenario;
    scenario.name = "autostart values";
    scenario.arrange = [](FakeMachine& machine) {
        arrangeFamily(machine, 2, 5);
        machine.writeFile("C:\\WINDOWS\\SYSTEM32\\evil.exe", infectedImage());
        machine.writeFile("C:\\WINDOWS\\SYSTEM32\\clean.dll", "clean");
        fake::FakeRegistry& registry = machine.fakeRegistry();
        registry.setString(kRun, "Bare", "evil.exe");
        registry.setString(kRun, "Full", "C:\\WINDOWS\\SYSTEM32\\EVIL.EXE -x");
        registry.setString(kRun, "Keep", "C:\\Program Files\\app.exe");
        registry.setString(kRun, "Expanded", "%windir%\\system32\\evil.exe");
        registry.setString(kRunServices, "Quoted", "\"c:\\windows\\system32\\evil.exe\"");
        registry.setString(kRunServices, "Notepad", "notepad.exe");
        registry.setString(kRunServices, "Elsewhere", "C:\\Apps\\evil.exe");
    };
    scenario.scanTarget = "C:\\WINDOWS\\SYSTEM32";
    scenario.doomedFiles = {"C:\\WINDOWS\\SYSTEM32\\evil.exe"};
    scenario.autostartValues = {{kRun, "Bare"}, {kRun, "Full"}, {kRun, "Expanded"}, {kRunServices, "Quoted"}};
    return scenario;
}

// An infected program running on 9x: the memory scan ends it and removes
// its file before the walk.
Scenario infectedProcess() {
    Scenario scenario;
    scenario.name = "infected process, 9x";
    scenario.arrange = [](FakeMachine& machine) {
        arrangeFamily(machine, 1, 4);
        machine.writeFile(kInfected, infectedImage());
        machine.runProgram(kInfected);
    };
    scenario.scanTarget = "C:\\Apps";
    scenario.doomedFiles = {kInfected};
    return scenario;
}

// An infected program that refuses to end, running as the service of its
// own name: stopping the service ends it.
Scenario serviceFallback(const char* name, std::uint32_t major) {
    constexpr const char* kServiceImage = "C:\\trojan\\svc1.exe";
    constexpr const char* kServiceKey = "SYSTEM\\ControlSet001\\Services\\svc1";
    Scenario scenario;
    scenario.name = name;
    scenario.arrange = [major](FakeMachine& machine) {
        arrangeFamily(machine, 2, major);
        machine.writeFile(kServiceImage, infectedImage());
        const int process = machine.runProgram(kServiceImage);
        machine.fakeProcesses().process(static_cast<std::uint32_t>(process)).refusesTermination = true;
        machine.fakeServices().add("svc1").processId = static_cast<std::uint32_t>(process);
        machine.fakeRegistry().addKey(std::string(kServiceKey) + "\\Enum");
        machine.fakeRegistry().setString(kServiceKey, "ImagePath", kServiceImage);
        machine.fakeRegistry().setString("SYSTEM\\ControlSet001\\Services\\other", "ImagePath", "other.exe");
    };
    scenario.scanTarget = "C:\\trojan";
    scenario.dialogAnswers = {kAnswerOk, kAnswerYes};
    scenario.doomedFiles = {kServiceImage};
    scenario.doomedKeys = {kServiceKey, std::string(kServiceKey) + "\\Enum"};
    scenario.mayExit = true;
    return scenario;
}

// Reads and writes can also come back short.
std::vector<Fault> faultsOf(SeamCall call) {
    if (call == SeamCall::kRead || call == SeamCall::kWrite) return {Fault::kFailure, Fault::kShortTransfer};
    return {Fault::kFailure};
}

const char* faultName(Fault fault) { return fault == Fault::kShortTransfer ? "comes back short" : "fails"; }

void sweep(const Scenario& scenario) {
    std::vector<SeamCall> calls;
    {
        SCOPED_TRACE(std::string(scenario.name) + ", no fault");
        const ScanRecord record = runScenario(scenario, std::nullopt, &calls);
        expectSoundOutcome(scenario, record);
        expectWholeWorkDone(scenario, record);
    }
    ASSERT_FALSE(calls.empty());
    unsigned runs = 1;
    for (std::uint64_t k = 1; k <= calls.size(); ++k) {
        for (Fault fault : faultsOf(calls[k - 1])) {
            const std::string run = std::string(scenario.name) + ", call " + std::to_string(k) + " of " +
                                    std::to_string(calls.size()) + ", " + fake::seamCallName(calls[k - 1]) + " " +
                                    faultName(fault);
            SCOPED_TRACE(run);
            const ScanRecord record = runScenario(scenario, InjectedFault{k, fault});
            ++runs;
            expectSoundOutcome(scenario, record);
        }
    }
    ::testing::Test::RecordProperty("seam_calls", static_cast<int>(calls.size()));
    ::testing::Test::RecordProperty("runs", static_cast<int>(runs));
    std::cout << "[ sweep    ] " << scenario.name << ": " << calls.size() << " seam calls, " << runs << " runs\n";
}

TEST(FaultSweep, InfectedFileRoadOn9x) { sweep(infectedFileRoad("infected file road, 9x", 1, 4, "C:\\Apps")); }
// Every fixed drive, so that the drive types are asked too.
TEST(FaultSweep, InfectedFileRoadOnNt) { sweep(infectedFileRoad("infected file road, NT, all drives", 2, 5, "!:")); }

TEST(FaultSweep, InfectedProcessOn9x) { sweep(infectedProcess()); }

TEST(FaultSweep, LockedFileOn9xWithAWininitHoldingOtherSections) {
    sweep(lockedFile("locked file, 9x, wininit.ini there", 1, 4,
                     std::string("[boot]\r\nshell=explorer.exe\r\n[rename]\r\nOLD=C:\\OLD.TXT\r\n{entry}"
                                 "[other]\r\nz=1\r\n")));
}
TEST(FaultSweep, LockedFileOn9xWithoutWininit) { sweep(lockedFile("locked file, 9x, no wininit.ini", 1, 4, std::nullopt)); }
// NT 5 looks for the holder by PSAPI, NT 4 in the performance data.
TEST(FaultSweep, LockedFileOnNt5) { sweep(lockedFile("locked file, NT 5", 2, 5, std::nullopt)); }
TEST(FaultSweep, LockedFileOnNt4) { sweep(lockedFile("locked file, NT 4", 2, 4, std::nullopt)); }

TEST(FaultSweep, InfectedHostsFile) {
    sweep(hostsFile("infected hosts file, 9x", 1, 4, "C:\\WINDOWS\\hosts", true));
}
TEST(FaultSweep, CleanHostsFile) {
    sweep(hostsFile("clean hosts file, NT", 2, 5, "C:\\WINDOWS\\SYSTEM32\\drivers\\etc\\hosts", false));
}

TEST(FaultSweep, AutostartValues) { sweep(autostartValues()); }

TEST(FaultSweep, ServiceFallbackOnNt4) { sweep(serviceFallback("service fallback, NT 4", 4)); }
TEST(FaultSweep, ServiceFallbackOnNt5) { sweep(serviceFallback("service fallback, NT 5", 5)); }

}  // namespace
}  // namespace brisko::sweep
