// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace core {

namespace detail {
// Frees what std::malloc and std::aligned_alloc gave.
struct FreeMemory
{
    void operator()(void *memory) const { std::free(memory); }
};
} // namespace detail

// 64-bit words in blocks of 32 KiB that never move: growing never copies
// what is there, so a growing list never needs twice its memory. The first
// blocks come one by one from the heap; later ones are carved from regions
// of 2 MiB that the system may back with huge pages, which a large list
// fills with far fewer page faults.
class WordBlocks
{
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    quint64 &operator[](std::size_t i) { return m_blocks[i >> BlockBits][i & BlockMask]; }
    quint64 operator[](std::size_t i) const { return m_blocks[i >> BlockBits][i & BlockMask]; }
    void push_back(quint64 word)
    {
        if ((m_size & BlockMask) == 0 && (m_size >> BlockBits) == m_blocks.size())
            addBlock();
        (*this)[m_size++] = word;
    }
    // Keeps the first `size` words and frees what no longer holds any.
    void truncate(std::size_t size);
    std::size_t bytes() const;

private:
    static constexpr int BlockBits = 12;
    static constexpr std::size_t BlockMask = (std::size_t(1) << BlockBits) - 1;
    static constexpr std::size_t BlockBytes = (BlockMask + 1) * sizeof(quint64);
    static constexpr std::size_t RegionBytes = std::size_t(2) << 20;
    static constexpr std::size_t BlocksPerRegion = RegionBytes / BlockBytes;
    // Blocks before this many come from the heap.
    static constexpr std::size_t HeapBlocks = BlocksPerRegion;

    void addBlock();

    std::vector<quint64 *> m_blocks;
    std::vector<std::unique_ptr<void, detail::FreeMemory>> m_memory; // heap blocks, then regions
    std::size_t m_size = 0;
};

// Lines of text with a check mark each, kept compactly: the text as UTF-8 in
// pages (of 4 KiB growing to 2 MiB) that never move, and per line one 64-bit word holding its
// page, offset, length and mark. A million lines of twenty characters take
// about 29 MB instead of the 150 MB of a string object each.
class TextStore
{
public:
    TextStore() = default;
    TextStore(TextStore &&) noexcept = default;
    TextStore &operator=(TextStore &&) noexcept = default;

    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }

    void append(QStringView text, bool checked);
    QString text(qsizetype line) const;
    // The line's UTF-8 bytes, valid until the store changes.
    QByteArrayView utf8(qsizetype line) const;
    bool isChecked(qsizetype line) const { return m_lines[std::size_t(line)] >> 63; }
    void setChecked(qsizetype line, bool checked);

    // Keeps the lines for which `keep` is true, in their order.
    void keepIf(const std::function<bool(qsizetype)> &keep);
    void clear();

    // The memory the store holds, its own bookkeeping included.
    qsizetype bytesUsed() const;

private:
    static constexpr int LengthBits = 20;
    static constexpr int OffsetBits = 21;
    static constexpr int PageBits = 22;
    static constexpr qsizetype PageSize = qsizetype(1) << OffsetBits;
    static constexpr qsizetype FirstPageSize = 4096;
    // A line this long or longer has a page of its own, whose size is its length.
    static constexpr quint64 OwnPage = (quint64(1) << LengthBits) - 1;

    struct Page
    {
        std::unique_ptr<char[], detail::FreeMemory> bytes;
        qsizetype size;
    };
    static Page newPage(qsizetype size);

    char *reserve(qsizetype length, quint64 &word);
    void compactIfWasteful();

    std::vector<Page> m_pages;
    qsizetype m_fillPage = -1; // the page new lines go to
    qsizetype m_fill = 0;      // bytes used in it
    qsizetype m_pageBytes = 0; // all pages
    qsizetype m_liveBytes = 0; // the text of the lines kept
    WordBlocks m_lines;
};

} // namespace core
