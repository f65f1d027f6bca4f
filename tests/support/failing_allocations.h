#pragma once
#include <cstddef>

namespace quillet::test {

// While one is alive, every allocation through operator new of at least `bytes` bytes made on
// this thread throws std::bad_alloc, as it does when memory runs out; smaller ones still work.
// The test executable replaces operator new for this, which AddressSanitizer does itself: there
// it is not available, and tests that need it skip.
class FailingAllocations {
public:
    explicit FailingAllocations(std::size_t bytes);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    static bool available();
    // The allocations refused so far.
    int failures() const;
};

}  // namespace quillet::test
