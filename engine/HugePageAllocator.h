// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace engine {

// An allocator for std::vector that asks the system for huge pages for
// storage of 2 MiB and more: a dictionary of millions of words probes its
// tree's table at random, and with 4 KiB pages nearly every probe misses the
// address cache and the first touch of each page faults.
template <typename T>
struct HugePageAllocator
{
    using value_type = T;
    static constexpr std::size_t HugePageBytes = std::size_t(2) << 20;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U> &)
    {}

    T *allocate(std::size_t count)
    {
        std::size_t bytes = count * sizeof(T);
        void *memory = nullptr;
        if (bytes >= HugePageBytes) {
            bytes = (bytes + HugePageBytes - 1) / HugePageBytes * HugePageBytes;
            memory = std::aligned_alloc(HugePageBytes, bytes);
#ifdef MADV_HUGEPAGE
            if (memory)
                ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
        } else {
            memory = std::malloc(bytes);
        }
        if (!memory)
            throw std::bad_alloc();
        return static_cast<T *>(memory);
    }
    void deallocate(T *memory, std::size_t)
    {
        std::free(memory);
    }

    template <typename U>
    bool operator==(const HugePageAllocator<U> &) const
    {
        return true;
    }
};

} // namespace engine
