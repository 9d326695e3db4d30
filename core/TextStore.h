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
// Frees what heapMemory() and hugePageMemory() in TextStore.cpp gave: the
// heap's memory, or a region of 2 MiB mapped on its own.
struct FreeMemory
{
    bool region = false;
    void operator()(void *memory) const;
};

// Makes the stores' allocations on this thread fail, for tests: while one
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

// 64-bit words in blocks of 32 KiB that never move: growing never copies
// what is there, so a growing list never needs twice its memory. The first
// blocks come one by one from the heap; later ones are carved from regions
// of 2 MiB that the system may back with huge pages, which a large list
// fills with far fewer page faults. A failed allocation throws
// std::bad_alloc and changes nothing.
class WordBlocks
{
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    quint64 &operator[](std::size_t i) { return m_blocks[i >> BlockBits][i & BlockMask]; }
    quint64 operator[](std::size_t i) const { return m_blocks[i >> BlockBits][i & BlockMask]; }
    void push_back(quint64 word)
    {
        ensureRoom();
        (*this)[m_size++] = word;
    }
    // Makes room for one more word, so that the next push_back cannot fail.
    void ensureRoom()
    {
        if ((m_size & BlockMask) == 0 && (m_size >> BlockBits) == m_blocks.size())
            addBlock();
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
//
// An append that cannot get its memory throws (std::bad_alloc, or
// core::Failure "Out of memory" past the most pages) and leaves the store as
// it was, so the next append may succeed.
class TextStore
{
public:
    TextStore() = default;
    TextStore(TextStore &&) noexcept = default;
    TextStore &operator=(TextStore &&) noexcept = default;

    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }

    void append(QStringView text, bool checked);
    // Appends a line given as UTF-8, which must be valid.
    void appendUtf8(QByteArrayView utf8, bool checked);

    // A line written in pieces, for a line too long to be built elsewhere
    // first: beginLine() sets aside `size` bytes, writeLine() fills them in
    // order and endLine() adds the line once all are written (else it drops
    // it and returns false). clear() drops a line begun, as does beginLine();
    // writeLine() and endLine() then do nothing. Valid UTF-8 is the writer's
    // task.
    void beginLine(qsizetype size);
    void writeLine(QByteArrayView bytes);
    bool endLine(bool checked);
    void dropLine();
    bool hasOpenLine() const { return m_open.size >= 0; }
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
    void addPage(qsizetype size);
    char *bytesOf(quint64 word);
    void compactIfWasteful();

    // The line between beginLine() and endLine(); size -1 when none.
    struct OpenLine
    {
        quint64 word = 0;
        qsizetype size = -1;
        qsizetype written = 0;
    };

    std::vector<Page> m_pages;
    qsizetype m_fillPage = -1; // the page new lines go to
    qsizetype m_fill = 0;      // bytes used in it
    qsizetype m_pageBytes = 0; // all pages
    qsizetype m_liveBytes = 0; // the text of the lines kept
    WordBlocks m_lines;
    OpenLine m_open;
};

} // namespace core
