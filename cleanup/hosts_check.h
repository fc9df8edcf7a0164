#pragma once
// The hosts file check: a hosts file that begins with "begin" and carries
// the built-in pattern among its first bytes (whitespace ignored) is
// infected. What becomes of it is the scan's business.
#include "cleanup/hosts_pattern.h"
#include "platform/platform_types.h"

namespace brisko {

// The threat name of a pattern record, terminated.
using HostsThreatName = char[sizeof(HostsPattern::threatName) + 1];

// True when the file opened and matched a pattern of the table (the
// built-in one unless another is given), whose threat name is then in
// threatName; the file is closed again either way.
bool findHostsInfection(const char* path, HostsThreatName& threatName,
                        const HostsPatternTable& table = plainHostsPatterns());

// The hosts file of the running family: drivers\etc\hosts in the system
// folder on NT, hosts in the Windows folder on the 9x family. False on any
// other family, or when the folder is unknown or too long to take the name.
bool hostsPathOfThisSystem(char (&path)[kPathCapacity]);

}  // namespace brisko
