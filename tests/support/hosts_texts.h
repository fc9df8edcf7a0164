#pragma once
// Hosts file contents for tests: the built-in pattern as plain text, and a
// hosts file the check finds infected.
#include <string>

#include "cleanup/hosts_pattern.h"

namespace brisko::testing {

inline std::string plainHostsPatternText() {
    const HostsPattern record = plainHostsPatterns()[0];
    return std::string(reinterpret_cast<const char*>(record.pattern), record.patternLength);
}

inline std::string infectedHostsText() { return "begin\n" + plainHostsPatternText(); }

}  // namespace brisko::testing
