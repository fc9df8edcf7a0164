#include "ui/main_dialog_texts.h"

#include <cstdio>

#include "base/program_identity.h"

namespace brisko {

std::string titleLine() {
    return std::string(programTitle) + " - Tool to detect and remove all the variants of " + familyName +
           " Trojan ";
}

std::string subtitleLine() {
    char line[260];
    std::snprintf(line, sizeof line, "for %s Trojan ", familyName);
    return line;
}

std::string searchingForLine() { return std::string("Searching for ") + familyName + " Trojan and its variants"; }

}  // namespace brisko
