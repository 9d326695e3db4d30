// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/BigMemory.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

namespace core {

// Plain values in blocks of 32 KiB that never move: growing never copies
// what is there, so a growing list never needs twice its memory, and a
// worker thread may read the values a view was taken of while more are
// appended. The first blocks come one by one from the heap; later ones are
// carved from regions of 2 MiB that the system may back with huge pages. A
// failed allocation throws std::bad_alloc and changes nothing.
template <typename T>
class BlockArray
{
    static_assert(std::is_trivially_copyable_v<T>);
    static constexpr std::size_t BlockBytes = 32 * 1024;
    static constexpr std::size_t PerBlock = BlockBytes / sizeof(T);
    static_assert((PerBlock & (PerBlock - 1)) == 0);
    static constexpr std::size_t BlocksPerRegion = HugePageBytes / BlockBytes;
    // Blocks before this many come from the heap.
    static constexpr std::size_t HeapBlocks = BlocksPerRegion;

public:
    BlockArray() = default;
    BlockArray(BlockArray &&) noexcept = default;
    BlockArray &operator=(BlockArray &&) noexcept = default;

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T &operator[](std::size_t i) { return m_blocks[i / PerBlock][i % PerBlock]; }
    T operator[](std::size_t i) const { return m_blocks[i / PerBlock][i % PerBlock]; }
    void push_back(T value)
    {
        ensureRoom();
        (*this)[m_size++] = value;
    }
    // Makes room for one more value, so that the next push_back cannot fail.
    void ensureRoom()
    {
        if (m_size % PerBlock == 0 && m_size / PerBlock == m_blocks.size())
            addBlock();
    }
    // Keeps the first `size` values and frees what no longer holds any.
    void truncate(std::size_t size)
    {
        m_size = std::min(size, m_size);
        const std::size_t blocks = (m_size + PerBlock - 1) / PerBlock;
        m_blocks.resize(blocks);
        m_memory.resize(blocks <= HeapBlocks
                            ? blocks
                            : HeapBlocks
                                  + (blocks - HeapBlocks + BlocksPerRegion - 1) / BlocksPerRegion);
    }
    // Removes value i, moving every later value down by one, block by block.
    void erase(std::size_t i)
    {
        if (i >= m_size)
            return;
        for (std::size_t block = i / PerBlock; block * PerBlock < m_size; ++block) {
            T *values = m_blocks[block];
            const std::size_t from = block == i / PerBlock ? i % PerBlock : 0;
            const std::size_t end = std::min(PerBlock, m_size - block * PerBlock);
            std::memmove(values + from, values + from + 1, (end - from - 1) * sizeof(T));
            if ((block + 1) * PerBlock < m_size)
                values[PerBlock - 1] = m_blocks[block + 1][0];
        }
        truncate(m_size - 1);
    }
    std::size_t bytes() const
    {
        const std::size_t heap = std::min(m_memory.size(), HeapBlocks);
        return heap * BlockBytes + (m_memory.size() - heap) * HugePageBytes;
    }

    // The first values as they are now, for reading on another thread while
    // this array only grows; valid while the array lives and keeps them.
    class View
    {
    public:
        View() = default;
        std::size_t size() const { return m_size; }
        T operator[](std::size_t i) const { return m_blocks[i / PerBlock][i % PerBlock]; }
        // A value that the owner's thread may change meanwhile (a word whose
        // flag it sets), read whole.
        T loadShared(std::size_t i) const
        {
            return std::atomic_ref<T>(m_blocks[i / PerBlock][i % PerBlock])
                .load(std::memory_order_relaxed);
        }
        // Writing values of the view, which the owner reads only after the
        // writer has handed them over.
        T &at(std::size_t i) const { return m_blocks[i / PerBlock][i % PerBlock]; }

    private:
        friend class BlockArray;
        std::vector<T *> m_blocks;
        std::size_t m_size = 0;
    };
    View view(std::size_t size) const
    {
        View v;
        v.m_size = std::min(size, m_size);
        v.m_blocks.assign(m_blocks.begin(),
                          m_blocks.begin() + std::ptrdiff_t((v.m_size + PerBlock - 1) / PerBlock));
        return v;
    }
    // Sets a value that a view may be reading on another thread.
    void storeShared(std::size_t i, T value)
    {
        std::atomic_ref<T>((*this)[i]).store(value, std::memory_order_relaxed);
    }

private:
    void addBlock()
    {
        // The lists get their room first: once the memory is there, nothing
        // else can fail.
        if (m_blocks.size() == m_blocks.capacity())
            m_blocks.reserve(std::max<std::size_t>(8, 2 * m_blocks.capacity()));
        if (m_memory.size() == m_memory.capacity())
            m_memory.reserve(std::max<std::size_t>(8, 2 * m_memory.capacity()));
        const std::size_t block = m_blocks.size();
        if (block < HeapBlocks) {
            Memory memory(heapMemory(BlockBytes));
            m_blocks.push_back(static_cast<T *>(memory.get()));
            m_memory.push_back(std::move(memory));
            return;
        }
        if ((block - HeapBlocks) % BlocksPerRegion == 0)
            m_memory.push_back(
                Memory(regionMemory(HugePageBytes), detail::FreeMemory{HugePageBytes}));
        auto *region = static_cast<char *>(m_memory.back().get());
        m_blocks.push_back(
            reinterpret_cast<T *>(region + (block - HeapBlocks) % BlocksPerRegion * BlockBytes));
    }

    using Memory = std::unique_ptr<void, detail::FreeMemory>;
    std::vector<T *> m_blocks;
    std::vector<Memory> m_memory; // heap blocks, then regions
    std::size_t m_size = 0;
};

} // namespace core
