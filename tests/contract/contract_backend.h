#pragma once
// What the contract tests of the seam need besides the seam itself: a
// backend with an empty scratch folder on a fixed drive, and ways to arrange
// files there that the program never needs. Each test executable links one
// definition of makeContractBackend: the simulated machine and the mounted
// volume natively, the real Windows backend under Wine.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace brisko {

// The machines a runnable sample is made for (tools/sample_writer).
enum class RunnableMachine;

class ContractBackend {
public:
    virtual ~ContractBackend() = default;

    virtual Platform& platform() = 0;
    // A fresh, empty folder at the root of a fixed drive, as a Windows path
    // ending in a backslash ("D:\\run17\\").
    virtual std::string scratchFolder() = 0;
    // A drive letter that no drive uses.
    virtual char unusedDriveLetter() = 0;

    virtual void writeFile(const std::string& path, const std::string& bytes) = 0;
    virtual void makeDirectory(const std::string& path) = 0;
    // Whole content of a file; empty when it cannot be read.
    virtual std::string readFile(const std::string& path) = 0;
    // Holds the file open, as another running program would, without
    // sharing deletion, until releaseHeldFiles.
    virtual void holdOpen(const std::string& path) = 0;
    virtual void releaseHeldFiles() = 0;

    // A window that hands the number of every message sent to it to
    // onMessage; it lives as long as the backend.
    virtual WindowHandle makeWindow(std::function<void(std::uint32_t id)> onMessage) = 0;
    // A top-level window with this title, as another program shows it,
    // until closeTitledWindows; the others close with the backend. False
    // when the backend has no display to make one on (Wine without a
    // graphics driver).
    virtual bool showTitledWindow(const std::string& title) = 0;
    virtual void closeTitledWindows() = 0;

    // Starts a program at path (written there first) that sleeps until it
    // is ended; its process id. Still running ones end with the backend.
    virtual std::uint32_t startSleeper(const std::string& path) = 0;
    // Writes an image to path and starts it; its process id.
    virtual std::uint32_t startImage(const std::string& path, const std::string& bytes) = 0;
    // Whether a started program has ended, waiting briefly for one that is
    // ending.
    virtual bool hasEnded(std::uint32_t processId) = 0;
    // The system version the backend presents: "win98", "nt40", "winxp",
    // "win7" or "win10".
    virtual std::string versionName() = 0;
    // Whether a program for that machine, started with startImage, runs and
    // can be examined by the program under test.
    virtual bool startsProgramsFor(RunnableMachine machine) = 0;
    // Whether the performance data has a Process object (Wine's has none).
    virtual bool hasProcessPerformanceData() = 0;
    // Installs and starts a service of ours under name, removed with the
    // backend.
    virtual void startService(const std::string& name) = 0;
    // Keys under HKEY_LOCAL_MACHINE, created with every key above them.
    virtual void makeMachineKey(const std::string& path) = 0;
    virtual bool machineKeyExists(const std::string& path) = 0;
    // A string value (REG_SZ) in a key under HKEY_LOCAL_MACHINE, the key
    // created when missing.
    virtual void setMachineString(const std::string& key, const std::string& name, const std::string& text) = 0;
    // The same in one view of a 64-bit machine's HKEY_LOCAL_MACHINE\Software,
    // named by the registry's own flags, not through the seam.
    virtual void setMachineStringInView(const std::string& key, RegistryView view, const std::string& name,
                                        const std::string& text) = 0;
};

std::unique_ptr<ContractBackend> makeContractBackend();

}  // namespace brisko
