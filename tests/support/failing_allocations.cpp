#include "support/failing_allocations.h"

#include <cstdlib>
#include <new>

// AddressSanitizer brings its own operator new, which must stay.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_REPLACES_OPERATOR_NEW 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_REPLACES_OPERATOR_NEW 0
#endif
#endif
#ifndef QUILLET_REPLACES_OPERATOR_NEW
#define QUILLET_REPLACES_OPERATOR_NEW 1
#endif

namespace {
// The smallest allocation refused on this thread; 0 while none is.
thread_local std::size_t refusedFrom = 0;
thread_local int refusals = 0;
}  // namespace

#if QUILLET_REPLACES_OPERATOR_NEW
namespace {
void* allocate(std::size_t size)
{
    if (refusedFrom != 0 && size >= refusedFrom) {
        ++refusals;
        throw std::bad_alloc();
    }
    for (;;) {
        if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}
}  // namespace

// The forms with nothrow_t and the aligned forms of the standard library call or pair with these.
void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
#endif

namespace quillet::test {

FailingAllocations::FailingAllocations(std::size_t bytes)
{
    refusedFrom = bytes;
    refusals = 0;
}

FailingAllocations::~FailingAllocations()
{
    refusedFrom = 0;
}

bool FailingAllocations::available()
{
    return QUILLET_REPLACES_OPERATOR_NEW != 0;
}

int FailingAllocations::failures() const
{
    return refusals;
}

}  // namespace quillet::test
