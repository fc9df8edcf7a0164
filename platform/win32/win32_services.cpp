#include "platform/win32/windows_api.h"

#include "platform/win32/win32_services.h"

namespace brisko {
namespace {

// Owns one service or manager handle.
class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle() { CloseServiceHandle(handle_); }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

class Win32Service final : public OpenedService {
public:
    explicit Win32Service(SC_HANDLE service) : service_(service) {}

    bool stop(std::uint32_t& state) override {
        SERVICE_STATUS status = {};
        if (!ControlService(service_.get(), SERVICE_CONTROL_STOP, &status)) return false;
        state = status.dwCurrentState;
        return true;
    }

    bool queryState(std::uint32_t& state) override {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service_.get(), &status)) return false;
        state = status.dwCurrentState;
        return true;
    }

private:
    ServiceHandle service_;
};

class Win32ServiceManager final : public ServiceManager {
public:
    explicit Win32ServiceManager(SC_HANDLE manager) : manager_(manager) {}

    std::unique_ptr<OpenedService> openService(const char* name, std::uint32_t access) override {
        SC_HANDLE service = OpenServiceA(manager_.get(), name, access);
        if (service == nullptr) return nullptr;
        return std::make_unique<Win32Service>(service);
    }

private:
    ServiceHandle manager_;
};

}  // namespace

std::unique_ptr<ServiceManager> Win32Services::openManager(std::uint32_t access) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, access);
    if (manager == nullptr) return nullptr;
    return std::make_unique<Win32ServiceManager>(manager);
}

}  // namespace brisko
