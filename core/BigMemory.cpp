// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/BigMemory.h"

#include <cstdint>
#include <cstdlib>
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
    void *mapped = ::mmap(
        nullptr, bytes + HugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
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
    void *memory = reinterpret_cast<void *>(aligned);
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

namespace detail {

void FreeMemory::operator()(void *memory) const
{
#ifdef Q_OS_LINUX
    if (regionBytes > 0) {
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
