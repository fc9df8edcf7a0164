#pragma once
// The file matcher: decides whether a file is a Portable Executable image
// that one of the signatures names, and hands a detection on.
#include <cstdint>

#include "engine/threat_signature.h"

namespace brisko {

// One entry of the list that the walk offers every file to. The list ends
// with an entry whose label is null.
struct ThreatCallback {
    const char* threatLabel;
    int (*examineFile)(const char* threatLabel, const char* path);
};

extern const ThreatCallback threatCallbackTable[2];

// Tests one file against the signature table; 1 on a detection, else 0.
int matchFile(const char* threatLabel, const char* path);
// The same against any table ending in a record with an empty name.
int matchFileAgainst(const ThreatSignature* table, const char* threatLabel, const char* path);

// The walk tells the matcher the length under which the file it is about to
// offer was listed: a file whose length no signature accepts is not opened.
// The note holds for the next call only.
void noteListedLength(std::uint64_t length);

}  // namespace brisko
