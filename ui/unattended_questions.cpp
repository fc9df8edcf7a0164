// Where nobody can be asked (brisko-scan, the benchmarks), every question is
// shown on standard error and answered No: nothing is stopped or restarted
// behind the user's back.
#include <cstdio>

#include "ui/message_dialog.h"

namespace brisko {

int ShowMessageDialog(const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "%s: %s [answered No]\n", caption, text);
    return kAnswerNo;
}

}  // namespace brisko
