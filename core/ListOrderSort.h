// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The pieces the orders of a list are sorted with: keys that order lines
// A to Z by their first bytes, a radix sort of keyed lines, and the merge of
// a sorted batch into a sorted list in place.

#pragma once

#include "core/BigMemory.h"

#include <QByteArrayView>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace core::detail {

// Compares two lines A to Z, upper-case ASCII letters as lower-case.
int compareIgnoringAsciiCase(QByteArrayView a, QByteArrayView b);

// The first eight bytes of a line, upper-case ASCII letters lowered, as one
// number that orders as the bytes do; a shorter line is padded with zeros, so
// equal numbers may still be different lines.
inline quint64 prefixKey(QByteArrayView bytes)
{
    quint64 word = 0;
    if (!bytes.isEmpty())
        std::memcpy(&word, bytes.data(), std::size_t(std::min<qsizetype>(bytes.size(), 8)));
    if constexpr (std::endian::native == std::endian::little)
        word = qbswap(word);
    // Each byte from 'A' to 'Z' gains 0x20, eight at once: adding to the
    // bytes' low seven bits never carries into the next byte.
    constexpr quint64 Ones = 0x0101010101010101;
    const quint64 low = word & (0x7f * Ones);
    const quint64 fromA = low + (0x80 - 'A') * Ones;
    const quint64 pastZ = low + (0x80 - 'Z' - 1) * Ones;
    const quint64 upper = fromA & ~pastZ & ~word & (0x80 * Ones);
    return word | (upper >> 2);
}

struct KeyedLine
{
    quint64 key;
    quint32 line;
    // The line's length in bytes (at most 2^32 - 1): which lines go on past
    // a key's bytes is known without reading them.
    quint32 length;
};

// Values to sort in memory that is neither cleared nor, when large, made of
// small pages: filling it costs no fault a page.
template <typename T>
class SortArray
{
public:
    explicit SortArray(std::size_t size)
        : m_size(size)
        , m_values(BigAllocator<T>().allocate(std::max<std::size_t>(size, 1)))
    {}
    ~SortArray() { BigAllocator<T>().deallocate(m_values, std::max<std::size_t>(m_size, 1)); }
    SortArray(const SortArray &) = delete;
    SortArray &operator=(const SortArray &) = delete;

    T *begin() { return m_values; }
    T *end() { return m_values + m_size; }
    std::size_t size() const { return m_size; }
    T &operator[](std::size_t i) { return m_values[i]; }

private:
    std::size_t m_size;
    T *m_values;
};
using KeyedLines = SortArray<KeyedLine>;

// A stable radix sort of [begin, end) by the key's bits from `lowBit` up,
// through `scratch` (at least as long). Returns false, part done, once
// `cancelled` is set.
bool radixSort(KeyedLine *begin,
               KeyedLine *end,
               KeyedLine *scratch,
               int lowBit,
               const std::atomic<bool> &cancelled);
// The same for lines packed with their key in one number: the key in the high
// 32 bits, the line in the low ones (`lowBit` 32 sorts by the key alone).
bool radixSort(
    quint64 *begin, quint64 *end, quint64 *scratch, int lowBit, const std::atomic<bool> &cancelled);

// The first place in [begin, end), a range whose elements `after(value, e)`
// holds for from some place on, where it holds: galloping back from the end
// narrows it down, then halving.
template <typename Iterator, typename After>
Iterator firstAfterFromEnd(Iterator begin, Iterator end, quint32 value, After after)
{
    Iterator low = begin;
    Iterator high = end;
    std::ptrdiff_t step = 1;
    while (high != begin) {
        const Iterator probe = high - begin > step ? high - step : begin;
        if (!after(value, *probe)) {
            low = probe + 1;
            break;
        }
        high = probe;
        step *= 2;
    }
    return std::upper_bound(low, high, value, after);
}

// What a merge reads of a line, fetched ahead: nothing.
struct NoFetchAhead
{
    void operator()(quint32, bool) const {}
};

// Runs `one` on a thread of its own and `other` on this one (both here, one
// after the other, when no thread can be made); whether both got to their
// end. What either throws is thrown here, once both are done.
template <typename One, typename Other>
bool runBoth(One one, Other other)
{
    bool oneDone = false;
    std::exception_ptr oneFailed;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                oneDone = one();
            } catch (...) {
                oneFailed = std::current_exception();
            }
        });
    } catch (const std::system_error &) {
        oneDone = one();
    }
    bool otherDone = false;
    std::exception_ptr otherFailed;
    try {
        otherDone = other();
    } catch (...) {
        otherFailed = std::current_exception();
    }
    if (helper.joinable())
        helper.join();
    if (oneFailed)
        std::rethrow_exception(oneFailed);
    if (otherFailed)
        std::rethrow_exception(otherFailed);
    return oneDone && otherDone;
}

// How many of the first `split` lines of the merge of the sorted `first` and
// `second` come from `first`: found by halving, as `before` orders no two of
// them alike.
template <typename Line, typename Before>
std::size_t takenFromFirst(const Line *first,
                           std::size_t firstSize,
                           const Line *second,
                           std::size_t secondSize,
                           std::size_t split,
                           Before &before)
{
    std::size_t low = split > secondSize ? split - secondSize : 0;
    std::size_t high = std::min(split, firstSize);
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (before(second[split - mid - 1], first[mid]))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

// Whether `lines` are enough for a second thread to gain more than it costs,
// and the machine has a second core.
inline bool worthASecondThread(std::size_t lines)
{
    constexpr std::size_t Lines = std::size_t(1) << 18;
    return lines >= Lines && std::thread::hardware_concurrency() >= 2;
}

// The merge of mergeInPlace() on one stretch: the sorted `lines` [0, before)
// and the sorted `batch` [0, batchSize) into `lines` [0, before + batchSize).
// Cancelled half way, it is undone (the batch's lines are those numbered
// from `firstAdded` on) and returns false.
template <typename Precedes, typename FetchAhead>
bool mergeStretch(quint32 *lines,
                  std::size_t before,
                  const quint32 *batch,
                  std::size_t batchSize,
                  quint32 firstAdded,
                  Precedes &precedes,
                  const std::atomic<bool> &cancelled,
                  FetchAhead &fetchAhead)
{
    // Sides of sizes within this ratio are walked side by side.
    constexpr std::size_t GallopRatio = 8;
    constexpr std::size_t Ahead = 16;
    constexpr std::size_t CancelStride = 1 << 14;
    const std::size_t total = before + batchSize;
    // Lines [0, end) and batch [0, next) are still to merge; lines [to,
    // total) are in place.
    std::size_t end = before;
    std::size_t next = batchSize;
    std::size_t to = total;
    const bool walkBatch = batchSize <= before;
    const bool sideBySide = batchSize * GallopRatio >= before && before * GallopRatio >= batchSize;
    // Walked side by side, lines that come this many times in a row from one
    // side (lines repeated, or alike) start a gallop on that side.
    constexpr int GallopAfter = 8;
    int linesInARow = 0;
    int batchInARow = 0;
    // The lines still to merge that go after `line`, found by galloping,
    // into place.
    const auto takeLinesAfter = [&](quint32 line) {
        const std::size_t low =
            std::size_t(firstAfterFromEnd(lines, lines + end, line, precedes) - lines);
        std::move_backward(lines + low, lines + end, lines + to);
        to -= end - low;
        end = low;
    };
    const auto takeBatchAfter = [&](quint32 line) {
        const std::size_t low =
            std::size_t(firstAfterFromEnd(batch, batch + next, line, precedes) - batch);
        std::copy_backward(batch + low, batch + next, lines + to);
        to -= next - low;
        next = low;
    };
    for (std::size_t step = 1; next > 0 && end > 0; ++step) {
        if ((step & (CancelStride - 1)) == 0 && cancelled.load(std::memory_order_relaxed)) {
            // The lines merged so far lose the batch's lines among them.
            for (std::size_t merged = to; merged < total; ++merged)
                if (lines[merged] < firstAdded)
                    lines[end++] = lines[merged];
            return false;
        }
        if (sideBySide) {
            if (end > 2 * Ahead)
                fetchAhead(lines[end - 2 * Ahead], false);
            if (end > Ahead)
                fetchAhead(lines[end - Ahead], true);
            if (next > 2 * Ahead)
                fetchAhead(batch[next - 2 * Ahead], false);
            if (next > Ahead)
                fetchAhead(batch[next - Ahead], true);
            if (precedes(batch[next - 1], lines[end - 1])) {
                lines[--to] = lines[--end];
                ++linesInARow;
                batchInARow = 0;
            } else {
                lines[--to] = batch[--next];
                ++batchInARow;
                linesInARow = 0;
            }
            // One side keeps coming: how many more of it come before the
            // other's next line is found by galloping.
            if (linesInARow == GallopAfter && end > 0 && next > 0) {
                takeLinesAfter(batch[next - 1]);
                linesInARow = 0;
            } else if (batchInARow == GallopAfter && end > 0 && next > 0) {
                takeBatchAfter(lines[end - 1]);
                batchInARow = 0;
            }
        } else if (walkBatch) {
            takeLinesAfter(batch[next - 1]);
            lines[--to] = batch[--next];
        } else {
            takeBatchAfter(lines[end - 1]);
            lines[--to] = lines[--end];
        }
    }
    // What is left of the batch comes first; what is left of the lines is
    // in place.
    std::copy(batch, batch + next, lines);
    return true;
}

// Merges the sorted `batch` into the sorted `lines`, in place: `lines` grows
// by the batch, and only its part after the first line of the batch moves.
// When one side is far smaller, its lines find their places among the
// other's by galloping back from the place of the one after them; else both
// are walked from their ends, galloping where one side comes many times in a
// row (repeated or alike lines), and `fetchAhead(line, soon)` is told of the
// lines a comparison will read, first from further ahead (`soon` false),
// then once more shortly before: comparing lines reads memory at random,
// and fetching it ahead hides most of the wait. `precedes(a, b)` orders two
// lines; a line of the batch equal to one of `lines` goes after it. The
// batch's lines are all numbered from lines.size() on (they were found
// later): cancelled half way, the merge is undone by them and returns false.
// With `parallel`, a long merge is cut in two at the middle of the output,
// and each part merged on a thread of its own (`precedes` and `fetchAhead`
// are then called on both).
template <typename Precedes, typename FetchAhead = NoFetchAhead>
bool mergeInPlace(BigVector<quint32> &lines,
                  const BigVector<quint32> &batch,
                  Precedes precedes,
                  const std::atomic<bool> &cancelled,
                  FetchAhead fetchAhead = {},
                  bool parallel = false)
{
    const std::size_t before = lines.size();
    const std::size_t total = before + batch.size();
    const auto firstAdded = quint32(before);
    if (lines.capacity() < total)
        lines.reserve(std::max(total, lines.capacity() + lines.capacity() / 4));
    lines.resize(total);
    if (!parallel || !worthASecondThread(total)) {
        if (mergeStretch(lines.data(),
                         before,
                         batch.data(),
                         batch.size(),
                         firstAdded,
                         precedes,
                         cancelled,
                         fetchAhead))
            return true;
        lines.resize(before);
        return false;
    }
    // The first `split` lines of the output take `fromLines` of the lines;
    // the lines after them move up to where their part of the output
    // begins, and the two parts merge side by side.
    const std::size_t split = total / 2;
    const std::size_t fromLines =
        takenFromFirst(lines.data(), before, batch.data(), batch.size(), split, precedes);
    const std::size_t fromBatch = split - fromLines;
    quint32 *const data = lines.data();
    std::memmove(data + split, data + fromLines, (before - fromLines) * sizeof(quint32));
    std::array<bool, 2> merged{};
    runBoth(
        [&] {
            merged[0] = mergeStretch(data,
                                     fromLines,
                                     batch.data(),
                                     fromBatch,
                                     firstAdded,
                                     precedes,
                                     cancelled,
                                     fetchAhead);
            return merged[0];
        },
        [&] {
            merged[1] = mergeStretch(data + split,
                                     before - fromLines,
                                     batch.data() + fromBatch,
                                     batch.size() - fromBatch,
                                     firstAdded,
                                     precedes,
                                     cancelled,
                                     fetchAhead);
            return merged[1];
        });
    if (merged[0] && merged[1])
        return true;
    // Undone: a part merged to its end loses the batch's lines too, then the
    // lines of the second part move back down after those of the first.
    const auto keepLines = [&](quint32 *part, std::size_t size) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < size; ++i)
            if (part[i] < firstAdded)
                part[kept++] = part[i];
    };
    if (merged[0])
        keepLines(data, split);
    if (merged[1])
        keepLines(data + split, total - split);
    std::memmove(data + fromLines, data + split, (before - fromLines) * sizeof(quint32));
    lines.resize(before);
    return false;
}

} // namespace core::detail
