#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace zelkora {

// The allocator of raster pixels. A map raster is tens of megabytes, and on a fresh allocation
// the page faults cost more than filling it: large blocks are advised into huge pages, which
// makes the faults few. Elements are left uninitialised unless a value is given, so that a
// buffer about to be overwritten is written once, not twice.
template <typename T>
class PixelAllocator {
  public:
    using value_type = T;

    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) {}

    T* allocate(std::size_t n) {
        T* p = static_cast<T*>(::operator new(n * sizeof(T)));
        constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
        const auto begin = reinterpret_cast<std::uintptr_t>(p);
        const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t last = (begin + n * sizeof(T)) & ~(kHugePage - 1);
        if (last > first) {
            // Advice only: where the system has no huge pages, nothing changes.
            ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
        }
        return p;
    }
    void deallocate(T* p, std::size_t) { ::operator delete(p); }

    template <typename U>
    void construct(U* p) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <typename U>
    friend bool operator==(const PixelAllocator&, const PixelAllocator<U>&) {
        return true;
    }
};

}  // namespace zelkora
