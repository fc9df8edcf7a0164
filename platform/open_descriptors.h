#pragma once
// The descriptors a backend over host files has handed to the program and
// that the program has not closed yet, and whether one of them is a given
// file. Windows' C runtime opens files without sharing deletion, so such a
// file can be neither removed nor renamed; the backends on Linux, where
// both would go ahead, keep to that rule so that the scan behaves the same
// everywhere.
#include <sys/stat.h>

#include <set>

namespace brisko {

class OpenDescriptors {
public:
    // Notes a descriptor just opened for the program; -1 is passed through.
    int handOut(int descriptor);
    // Forgets it, as the program closes it.
    void release(int descriptor) { open_.erase(descriptor); }
    // Whether one of them is the file of that identity.
    bool holdsFile(const struct stat& file) const;

private:
    std::set<int> open_;
};

}  // namespace brisko
