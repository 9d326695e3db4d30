// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/BigMemory.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

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

constexpr std::size_t SmallPageBytes = 4096;

// Faults in the pages of [begin, begin + bytes) as writable without writing
// them; false where the system cannot.
bool populate(void *begin, std::size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    return ::madvise(begin, bytes, MADV_POPULATE_WRITE) == 0;
#else
    Q_UNUSED(begin);
    Q_UNUSED(bytes);
    return false;
#endif
}

// A region of `bytes` mapped on its own, aligned to HugePageBytes; nullptr
// when the system has no more.
void *mapRegion(std::size_t bytes)
{
#ifdef Q_OS_LINUX
    void *mapped = ::mmap(
        nullptr, bytes + HugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
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
    return memory;
#else
    return std::aligned_alloc(HugePageBytes, bytes);
#endif
}

// A growing list takes one region of HugePageBytes after another, on the
// window's thread. A fresh region costs a fault when first written, and on
// some machines (virtual ones above all) that costs more than a millisecond
// a MiB: a run of ten million lines spent up to a quarter of a second so. A
// thread of its own keeps a few regions ready, their pages already faulted
// in, and makes more as they are taken.
class ReadyRegions
{
public:
    static ReadyRegions &instance()
    {
        // Never destroyed: a region may be asked for while the program ends.
        static ReadyRegions *const regions = new ReadyRegions;
        return *regions;
    }

    // A ready region, or nullptr when none is.
    void *take()
    {
        std::unique_lock lock(m_mutex);
        if (!m_started) {
            m_started = true;
            std::thread([this] {
                keepReady();
            }).detach();
        }
        void *region = nullptr;
        if (!m_ready.empty()) {
            region = m_ready.back();
            m_ready.pop_back();
        }
        lock.unlock();
        m_wanted.notify_one();
        return region;
    }

private:
    static constexpr std::size_t Kept = 3;

    void keepReady()
    {
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_wanted.wait(lock, [this] {
                    return m_ready.size() < Kept;
                });
            }
            void *region = mapRegion(HugePageBytes);
            if (!region) {
                // Out of memory for now: the list maps its own until some
                // is given back.
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            faultIn(region);
            const std::lock_guard lock(m_mutex);
            m_ready.push_back(region);
        }
    }

    static void faultIn(void *region)
    {
        if (populate(region, HugePageBytes))
            return;
        // The region is no one's yet: writing it changes nothing.
        auto *bytes = static_cast<volatile char *>(region);
        for (std::size_t at = 0; at < HugePageBytes; at += SmallPageBytes)
            bytes[at] = 0;
    }

    std::mutex m_mutex;
    std::condition_variable m_wanted;
    std::vector<void *> m_ready;
    bool m_started = false;
};

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
// address-space limit runs out of long before its memory). One of exactly
// HugePageBytes comes ready when there is one.
void *regionMemory(std::size_t bytes)
{
    failIfArranged();
    void *memory = bytes == HugePageBytes ? ReadyRegions::instance().take() : nullptr;
    if (!memory)
        memory = mapRegion(bytes);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void faultInPages(const void *begin, std::size_t bytes)
{
    if (bytes == 0)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(begin) & ~(SmallPageBytes - 1);
    const std::uintptr_t end =
        (reinterpret_cast<std::uintptr_t>(begin) + bytes + SmallPageBytes - 1)
        & ~(SmallPageBytes - 1);
    populate(reinterpret_cast<void *>(start), end - start);
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
