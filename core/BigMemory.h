// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace core {

// Memory for the lists' large arrays. A fresh page costs a fault when first
// written, and small pages make a large array cost thousands of them: memory
// of 2 MiB and more is mapped on its own, aligned for the system's huge
// pages, which it is asked to use. Every allocation throws std::bad_alloc
// when the memory is not there.
inline constexpr std::size_t HugePageBytes = std::size_t(2) << 20;

namespace detail {
// Frees what heapMemory() and regionMemory() gave: the heap's memory, or a
// region of `regionBytes` mapped on its own.
struct FreeMemory
{
    std::size_t regionBytes = 0;
    void operator()(void *memory) const;
};

// Makes the lists' allocations on this thread fail, for tests: while one
// lives, the first `succeeding` allocations succeed and every later one
// throws std::bad_alloc. The previous state returns when it ends.
class FailingAllocations
{
public:
    explicit FailingAllocations(int succeeding);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations &) = delete;
    FailingAllocations &operator=(const FailingAllocations &) = delete;

    // How many allocations were asked for while it lived.
    int attempts() const;

private:
    int m_previous;
    int m_previousAttempts;
};
} // namespace detail

// `bytes` from the heap.
void *heapMemory(std::size_t bytes);
// A region of `bytes` (a multiple of HugePageBytes), aligned to HugePageBytes.
void *regionMemory(std::size_t bytes);
// Has the system back the pages of [begin, begin + bytes) with memory now,
// as a first write would, without changing what they hold: the fault is
// then paid on this thread, not by the thread that writes them next. Pages
// not mapped are left alone.
void faultInPages(const void *begin, std::size_t bytes);

// An allocator for std::vector of plain values: arrays of HugePageBytes and
// more live in regions of their own, smaller ones on the heap.
template <typename T>
class BigAllocator
{
public:
    static_assert(std::is_trivially_copyable_v<T>);
    using value_type = T;

    BigAllocator() = default;
    template <typename U>
    BigAllocator(const BigAllocator<U> &)
    {}

    T *allocate(std::size_t count)
    {
        if (count > std::size_t(-1) / sizeof(T) / 2)
            throw std::bad_alloc();
        const std::size_t bytes = count * sizeof(T);
        return static_cast<T *>(bytes < HugePageBytes ? heapMemory(bytes)
                                                      : regionMemory(roundedUp(bytes)));
    }
    void deallocate(T *memory, std::size_t count)
    {
        const std::size_t bytes = count * sizeof(T);
        detail::FreeMemory{bytes < HugePageBytes ? 0 : roundedUp(bytes)}(memory);
    }
    friend bool operator==(const BigAllocator &, const BigAllocator &) { return true; }

private:
    static std::size_t roundedUp(std::size_t bytes)
    {
        return (bytes + HugePageBytes - 1) & ~(HugePageBytes - 1);
    }
};

template <typename T>
using BigVector = std::vector<T, BigAllocator<T>>;

} // namespace core
