#pragma once
// A directory listing over FindFirstFileA / FindNextFileA.
#include <memory>

#include "platform/file_system.h"

namespace brisko {

// Starts a search; null when FindFirstFileA fails (no such folder, or no
// entry matches).
std::unique_ptr<DirectoryListing> startWin32Listing(const char* pattern);

}  // namespace brisko
