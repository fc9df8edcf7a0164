// A program that does nothing but wait until it is ended: the running
// process the process contract tests list, find and end.
#include "platform/win32/windows_api.h"

int main() {
    for (;;) Sleep(INFINITE);
}
