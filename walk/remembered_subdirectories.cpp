#include "walk/remembered_subdirectories.h"

#include "base/bounded_text.h"

namespace brisko {

void RememberedSubdirectories::remember(const DirectoryEntry& entry) {
    if ((entry.attributes & kAttributeDirectory) != 0) {
        subdirectories_.push_back({entries_, names_.size()});
        names_ += entry.name;
        names_ += '\0';
    }
    ++entries_;
}

bool RememberedSubdirectories::next(DirectoryEntry& entry) {
    if (replayed_ == entries_) return false;
    entry.size = 0;
    if (nextSubdirectory_ < subdirectories_.size() && subdirectories_[nextSubdirectory_].position == replayed_) {
        copyTruncated(entry.name, names_.c_str() + subdirectories_[nextSubdirectory_].nameOffset);
        entry.attributes = kAttributeDirectory;
        ++nextSubdirectory_;
    } else {
        entry.name[0] = '\0';
        entry.attributes = 0;
    }
    ++replayed_;
    return true;
}

}  // namespace brisko
