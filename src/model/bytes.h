#pragma once
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace quillet {

// An allocator that leaves new elements uninitialised, so that a file of a gigabyte is read
// straight into its buffer without being zero-filled first. Code that grows a buffer and
// relies on the new bytes must give the value explicitly (resize(n, 0)).
template <class T>
struct DefaultInitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <class U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args>
    void construct(U* place, Args&&... args)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

using Bytes = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

}  // namespace quillet
