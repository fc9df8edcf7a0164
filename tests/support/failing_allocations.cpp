#include "tests/support/failing_allocations.h"

#include <cstdlib>
#include <new>

namespace {

// Zero: nothing fails.
std::size_t failingFrom = 0;
unsigned refusedCount = 0;

}  // namespace

namespace brisko::testing {

FailingLargeAllocations::FailingLargeAllocations(std::size_t bytes) {
    failingFrom = bytes;
    refusedCount = 0;
}

FailingLargeAllocations::~FailingLargeAllocations() { failingFrom = 0; }

unsigned FailingLargeAllocations::refused() const { return refusedCount; }

}  // namespace brisko::testing

// The array forms and the sanitizers' bookkeeping go through these two.
void* operator new(std::size_t size) {
    if (failingFrom != 0 && size >= failingFrom) {
        ++refusedCount;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
