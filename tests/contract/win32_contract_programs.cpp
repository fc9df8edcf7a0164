#include "platform/win32/windows_api.h"

#include "tests/contract/win32_contract_programs.h"

#include <stdexcept>

#include "platform/win32/owned_handle.h"

namespace brisko {
namespace {

// The runner puts the helper programs next to the test executable on C:.
const char kSleeperProgram[] = "C:\\brisko_sleeper.exe";
const char kServiceProgram[] = "C:\\brisko_test_service.exe";
constexpr DWORD kEndingWait = 5000;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

void copyProgram(const char* from, const std::string& to) {
    if (!CopyFileA(from, to.c_str(), FALSE)) fail("copying " + to);
}

// Owns one service or manager handle.
class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle() {
        if (handle_ != nullptr) CloseServiceHandle(handle_);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

void removeService(const std::string& name) {
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ServiceHandle service(OpenServiceA(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
    if (service.get() == nullptr) return;
    SERVICE_STATUS status = {};
    ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
    DeleteService(service.get());
}

}  // namespace

struct Win32ContractPrograms::Started {
    std::uint32_t processId;
    OwnedHandle process;
};

Win32ContractPrograms::Win32ContractPrograms() = default;

Win32ContractPrograms::~Win32ContractPrograms() {
    for (const std::unique_ptr<Started>& started : started_) {
        TerminateProcess(started->process.get(), 0);
        WaitForSingleObject(started->process.get(), kEndingWait);
    }
    for (const std::string& name : services_) removeService(name);
}

std::uint32_t Win32ContractPrograms::startSleeper(const std::string& path) {
    copyProgram(kSleeperProgram, path);
    return start(path);
}

std::uint32_t Win32ContractPrograms::start(const std::string& path) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION information = {};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                        &information)) {
        fail("starting " + path);
    }
    CloseHandle(information.hThread);
    started_.push_back(std::unique_ptr<Started>(
        new Started{information.dwProcessId, OwnedHandle(information.hProcess, nullptr)}));
    return information.dwProcessId;
}

bool Win32ContractPrograms::hasEnded(std::uint32_t processId) {
    for (const std::unique_ptr<Started>& started : started_) {
        if (started->processId == processId) {
            return WaitForSingleObject(started->process.get(), kEndingWait) == WAIT_OBJECT_0;
        }
    }
    throw std::invalid_argument("not a process of this test");
}

void Win32ContractPrograms::startService(const std::string& name, const std::string& folder) {
    const std::string path = folder + name + ".exe";
    copyProgram(kServiceProgram, path);
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (manager.get() == nullptr) fail("opening the service manager");
    ServiceHandle service(CreateServiceA(manager.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                         path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    if (service.get() == nullptr) fail("creating service " + name);
    services_.push_back(name);
    if (!StartServiceA(service.get(), 0, nullptr)) fail("starting service " + name);
    // Started means running: the program reports so once its dispatcher
    // has called it.
    SERVICE_STATUS status = {};
    for (int poll = 0; poll < 100; ++poll) {
        if (QueryServiceStatus(service.get(), &status) && status.dwCurrentState == SERVICE_RUNNING) return;
        Sleep(100);
    }
    fail("waiting for service " + name);
}

void makeMachineKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        throw std::runtime_error("creating key " + path);
    }
    RegCloseKey(key);
}

void setMachineString(const std::string& key, const std::string& name, const std::string& text, RegistryView view) {
    const REGSAM viewFlag = view == RegistryView::k64Bit ? 0x0100 : view == RegistryView::k32Bit ? 0x0200 : 0;
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | viewFlag, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("creating key " + key);
    }
    const LONG result = RegSetValueExA(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>(text.size() + 1));
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS) throw std::runtime_error("setting value " + name);
}

bool machineKeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace brisko
