// The smallest real service: it reports running until the stop control,
// then stopped. The service contract tests install it, start it and stop
// it through the program's own service operations.
#include "platform/win32/windows_api.h"

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status = {};
HANDLE stopRequested = nullptr;

void report(DWORD state) {
    status.dwCurrentState = state;
    SetServiceStatus(statusHandle, &status);
}

void WINAPI handleControl(DWORD control) {
    if (control == SERVICE_CONTROL_STOP) {
        report(SERVICE_STOP_PENDING);
        SetEvent(stopRequested);
    } else {
        SetServiceStatus(statusHandle, &status);
    }
}

void WINAPI serviceMain(DWORD, char**) {
    // An own-process service is given its handler under any name.
    statusHandle = RegisterServiceCtrlHandlerA("", handleControl);
    if (statusHandle == nullptr) return;
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwControlsAccepted = SERVICE_ACCEPT_STOP;
    report(SERVICE_RUNNING);
    WaitForSingleObject(stopRequested, INFINITE);
    report(SERVICE_STOPPED);
}

}  // namespace

int main() {
    stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char name[] = "";
    SERVICE_TABLE_ENTRYA table[] = {{name, serviceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
