#pragma once
// A listing whose entries were all read when the search started, in the
// order Windows gives them: "." and ".." first, then names in a case-blind
// order. Backends over host folders use it, since the host's own order is
// none that Windows would give.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace brisko {

DirectoryEntry makeDirectoryEntry(const std::string& name, std::uint32_t attributes, std::uint64_t size);

class CollectedListing : public DirectoryListing {
public:
    // Sorts the entries after the first dotEntries ones.
    CollectedListing(std::vector<DirectoryEntry> entries, std::size_t dotEntries);
    bool next(DirectoryEntry& entry) override;

protected:
    // Gives up the entries not handed out yet, as a failed FindNextFile does.
    void end() { position_ = entries_.size(); }

private:
    std::vector<DirectoryEntry> entries_;
    std::size_t position_ = 0;
};

}  // namespace brisko
