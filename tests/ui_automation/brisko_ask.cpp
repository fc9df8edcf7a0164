// brisko-ask: shows brisko.exe's own skinned question dialog, with its
// resources, in one of the two forms that brisko.exe asks only where a test
// machine cannot lead it (an infected process that cannot be ended), and
// tells the answer, so that brisko-driver can answer it by real input.
//
//   brisko-ask okcancel   the question after a find in memory: OK, Cancel
//   brisko-ask ok         a notice with the single OK
//
// Exits with the answer's code (1 OK, 2 Cancel); 100 on a wrong argument.
#include <cstring>

#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "session/scan_questions.h"
#include "ui/win32/message_dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    brisko::Win32Platform platform;
    brisko::installPlatform(&platform);
    int answer = 100;
    if (std::strcmp(commandLine, "okcancel") == 0) {
        const brisko::Question& question = brisko::kMemoryRestartQuestion;
        answer = brisko::ShowMessageDialog(nullptr, question.text, question.caption, question.flags);
    } else if (std::strcmp(commandLine, "ok") == 0) {
        answer = brisko::ShowMessageDialog(nullptr, "Scanning completed", nullptr, brisko::kMessageOk);
    }
    brisko::installPlatform(nullptr);
    return answer;
}
