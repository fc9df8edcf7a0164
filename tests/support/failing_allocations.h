#pragma once
// Makes large allocations fail while one of these lives, so that the code
// paths taken when memory runs out can be tested. Linking the source
// replaces the program's global operator new.
#include <cstddef>

namespace brisko::testing {

class FailingLargeAllocations {
public:
    // Every allocation of at least this many bytes throws std::bad_alloc.
    explicit FailingLargeAllocations(std::size_t bytes);
    ~FailingLargeAllocations();
    FailingLargeAllocations(const FailingLargeAllocations&) = delete;
    FailingLargeAllocations& operator=(const FailingLargeAllocations&) = delete;

    // How many allocations were refused.
    unsigned refused() const;
};

}  // namespace brisko::testing
