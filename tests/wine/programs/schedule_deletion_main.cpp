// Arranges the deletion of each file named on the command line at the next
// start of the system, the way the cleanup does for a file it cannot delete
// now, and prints what scheduleDeletionAtRestart returned for it:
//     brisko_schedule_deletion PATH...
// Exits with 1 when any result is 0.
//
//     brisko_schedule_deletion --hold PATH...
// instead opens every file without sharing it for deletion and waits until
// it is ended: the locked files of an infected machine.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstring>

#include "cleanup/deferred_deletion.h"
#include "platform/win32/win32_platform.h"
#include "session/scan_context.h"
#include "tools/brisko_scan/console_front_end.h"

namespace {

int holdOpen(int count, char** paths) {
    for (int i = 0; i < count; ++i) {
        const HANDLE file = CreateFileA(paths[i], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::printf("cannot hold %s: error %lu\n", paths[i], GetLastError());
            std::fflush(stdout);
            return 1;
        }
        std::printf("holding %s\n", paths[i]);
    }
    std::fflush(stdout);
    for (;;) Sleep(INFINITE);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--hold") == 0) return holdOpen(argc - 2, argv + 2);

    brisko::Win32Platform platform;
    brisko::installPlatform(&platform);

    // A report line (a wininit.ini that could not be restored) goes to
    // standard output.
    brisko::ConsoleFrontEnd console(stdout, stderr, false);
    brisko::ScanSession session{};
    session.reportWindow = brisko::kWindowlessReport;
    brisko::ScanContext scan(session, console);

    int status = argc < 2 ? 2 : 0;
    for (int i = 1; i < argc; ++i) {
        const int result = brisko::scheduleDeletionAtRestart(scan, argv[i]);
        std::printf("%d %s\n", result, argv[i]);
        if (result == 0) status = 1;
    }
    std::fflush(stdout);
    return status;
}
