// brisko.exe: the application object and the program's entry point.
#include "platform/platform.h"
#include "platform/single_instance.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "ui/win32/main_dialog.h"

namespace brisko {

class CBriskoApp {
public:
    // Runs the main dialog unless another copy already shows it. Always
    // FALSE: the program ends when the dialog does.
    BOOL InitInstance();
};

BOOL CBriskoApp::InitInstance() {
    // A second copy, or brisko.exe while brisko-scan.exe runs, ends without
    // showing anything.
    const std::unique_ptr<NamedClaim> instance = claimSingleInstance();
    if (instance == nullptr) return FALSE;
    CMainDialog dialog;
    dialog.doModal(nullptr);
    return FALSE;
}

}  // namespace brisko

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    brisko::Win32Platform platform;
    brisko::installPlatform(&platform);
    brisko::CBriskoApp app;
    app.InitInstance();
    brisko::installPlatform(nullptr);
    return 0;
}
