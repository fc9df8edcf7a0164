#pragma once
// What the subdirectory pass needs of a folder's listing, kept while the
// entry pass reads it, so that the folder is not listed a second time: the
// number of entries and each subdirectory with its place among them. The
// files' names are not kept, for a folder may hold a great many.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace brisko {

// Replays the kept listing as a listing of its own.
class RememberedSubdirectories final : public DirectoryListing {
public:
    // Keeps an entry as the first listing gave it.
    void remember(const DirectoryEntry& entry);
    // The first listing was read to its end: the replay holds the whole
    // folder as it was then.
    void markWhole() { whole_ = true; }
    bool isWhole() const { return whole_; }

    // Each subdirectory under its name, every other entry as a file without
    // a name, in the order first listed.
    bool next(DirectoryEntry& entry) override;

private:
    struct Subdirectory {
        std::size_t position;    // among all the entries listed
        std::size_t nameOffset;  // into names_
    };

    std::size_t entries_ = 0;
    std::vector<Subdirectory> subdirectories_;
    // The subdirectories' names, each ended by '\0'.
    std::string names_;
    bool whole_ = false;

    std::size_t replayed_ = 0;
    std::size_t nextSubdirectory_ = 0;
};

}  // namespace brisko
