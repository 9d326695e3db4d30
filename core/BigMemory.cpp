// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/BigMemory.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace core {

namespace {

// The allocations left before they fail (-1: no failures), and those asked
// for meanwhile; see detail::FailingAllocations.
thread_local int allocationsLeft = -1;
thread_local int allocationAttempts = 0;

void failIfArranged()
{
    ++allocationAttempts;
    if (allocationsLeft == 0)
        throw std::bad_alloc();
    if (allocationsLeft > 0)
        --allocationsLeft;
}

#ifdef Q_OS_LINUX

// Regions given back, kept for the next ones asked for. Memory that the
// process has never written, or gave back a while ago, costs far more to
// fault in than memory it wrote recently; on a virtual machine whose host
// takes freed memory back, many times more. So regions freed are kept, up to
// SpareMemoryLimit bytes, marked as free for the system to take when it runs
// short; a new region is made of them, moved in whole pages, before any
// fresh memory.
class SpareRegions
{
public:
    // Takes `region` of `bytes`, or says no when full.
    bool keep(void *region, std::size_t bytes)
    {
        const std::lock_guard lock(m_mutex);
        if (m_count == m_regions.size() || m_bytes + bytes > detail::SpareMemoryLimit)
            return false;
#ifdef MADV_FREE
        ::madvise(region, bytes, MADV_FREE);
#endif
        m_regions[m_count++] = {static_cast<char *>(region), bytes};
        m_bytes += bytes;
        return true;
    }

    // Moves spare regions, largest first, to the start of `target` (mapped
    // without access, `bytes` long) until it is covered or none is left.
    // Returns how many bytes from the start now hold memory.
    std::size_t moveInto(char *target, std::size_t bytes)
    {
        const std::lock_guard lock(m_mutex);
        std::size_t covered = 0;
        while (covered < bytes && m_count > 0) {
            Region *const largest = std::max_element(m_regions.begin(),
                                                     m_regions.begin() + m_count,
                                                     [](const Region &a, const Region &b) {
                                                         return a.bytes < b.bytes;
                                                     });
            const std::size_t moved = std::min(largest->bytes, bytes - covered);
            if (::mremap(
                    largest->start, moved, moved, MREMAP_MAYMOVE | MREMAP_FIXED, target + covered)
                == MAP_FAILED)
                break;
            covered += moved;
            m_bytes -= moved;
            largest->start += moved;
            largest->bytes -= moved;
            if (largest->bytes == 0)
                *largest = m_regions[--m_count];
        }
        return covered;
    }

    void release()
    {
        const std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < m_count; ++i)
            ::munmap(m_regions[i].start, m_regions[i].bytes);
        m_count = 0;
        m_bytes = 0;
    }

    std::size_t bytes()
    {
        const std::lock_guard lock(m_mutex);
        return m_bytes;
    }

private:
    struct Region
    {
        char *start;
        std::size_t bytes;
    };
    std::mutex m_mutex;
    std::array<Region, 128> m_regions{};
    std::size_t m_count = 0;
    std::size_t m_bytes = 0;
};

SpareRegions &spareRegions()
{
    static SpareRegions regions;
    return regions;
}

#endif

} // namespace

void *heapMemory(std::size_t bytes)
{
    failIfArranged();
    void *memory = std::malloc(std::max<std::size_t>(bytes, 1));
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

// The region is mapped on its own and takes exactly its size of address
// space (the heap would map more to align it, which a process with an
// address-space limit runs out of long before its memory).
void *regionMemory(std::size_t bytes)
{
    failIfArranged();
#ifdef Q_OS_LINUX
    // The address space is reserved first, without access; spare regions
    // move into it, and fresh memory fills the rest.
    void *mapped = ::mmap(nullptr,
                          bytes + HugePageBytes,
                          PROT_NONE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                          -1,
                          0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    // The aligned part stays; the ends before and after go back.
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + HugePageBytes - 1) & ~(HugePageBytes - 1);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    const std::uintptr_t end = start + bytes + HugePageBytes;
    if (end > aligned + bytes)
        ::munmap(reinterpret_cast<void *>(aligned + bytes), end - (aligned + bytes));
    auto *memory = reinterpret_cast<char *>(aligned);
    const std::size_t reused = spareRegions().moveInto(memory, bytes);
    if (reused < bytes
        && ::mmap(memory + reused,
                  bytes - reused,
                  PROT_READ | PROT_WRITE,
                  MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED,
                  -1,
                  0)
               == MAP_FAILED) {
        ::munmap(memory, bytes);
        throw std::bad_alloc();
    }
#ifdef MADV_HUGEPAGE
    ::madvise(memory, bytes, MADV_HUGEPAGE);
#endif
#else
    void *memory = std::aligned_alloc(HugePageBytes, bytes);
    if (!memory)
        throw std::bad_alloc();
#endif
    return memory;
}

void faultInPages(const void *begin, std::size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    if (bytes == 0)
        return;
    constexpr std::uintptr_t SmallPageBytes = 4096;
    const auto start = reinterpret_cast<std::uintptr_t>(begin) & ~(SmallPageBytes - 1);
    const std::uintptr_t end =
        (reinterpret_cast<std::uintptr_t>(begin) + bytes + SmallPageBytes - 1)
        & ~(SmallPageBytes - 1);
    // Faults the pages in as a write would, without writing them.
    ::madvise(reinterpret_cast<void *>(start), end - start, MADV_POPULATE_WRITE);
#else
    Q_UNUSED(begin);
    Q_UNUSED(bytes);
#endif
}

void releaseSpareMemory()
{
#ifdef Q_OS_LINUX
    spareRegions().release();
#endif
}

namespace detail {

std::size_t spareMemoryBytes()
{
#ifdef Q_OS_LINUX
    return spareRegions().bytes();
#else
    return 0;
#endif
}

void FreeMemory::operator()(void *memory) const
{
#ifdef Q_OS_LINUX
    if (regionBytes > 0) {
        if (!spareRegions().keep(memory, regionBytes))
            ::munmap(memory, regionBytes);
        return;
    }
#endif
    std::free(memory);
}

FailingAllocations::FailingAllocations(int succeeding)
    : m_previous(std::exchange(allocationsLeft, succeeding))
    , m_previousAttempts(std::exchange(allocationAttempts, 0))
{}

FailingAllocations::~FailingAllocations()
{
    allocationsLeft = m_previous;
    allocationAttempts += m_previousAttempts;
}

int FailingAllocations::attempts() const
{
    return allocationAttempts;
}

} // namespace detail

} // namespace core
