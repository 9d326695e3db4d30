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

// The bits in which the keys of [begin, end) differ.
quint64 differingKeyBits(const KeyedLine *begin, const KeyedLine *end);

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
// from `firstAdded` on) and returns false. `onStride()` is called each time
// it looks at the flag.
template <typename Precedes, typename FetchAhead, typename OnStride>
bool mergeStretch(quint32 *lines,
                  std::size_t before,
                  const quint32 *batch,
                  std::size_t batchSize,
                  quint32 firstAdded,
                  Precedes &precedes,
                  const std::atomic<bool> &cancelled,
                  FetchAhead &fetchAhead,
                  OnStride &onStride)
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
    // The lines still to merge of one side, `side` [0, sideEnd), that go
    // after `line`, found by galloping, into place (the output's free room
    // ends past the lines', so copying back moves them safely).
    const auto takeAfter = [&](const quint32 *side, std::size_t &sideEnd, quint32 line) {
        const std::size_t low =
            std::size_t(firstAfterFromEnd(side, side + sideEnd, line, precedes) - side);
        std::copy_backward(side + low, side + sideEnd, lines + to);
        to -= sideEnd - low;
        sideEnd = low;
    };
    for (std::size_t step = 1; next > 0 && end > 0; ++step) {
        if ((step & (CancelStride - 1)) == 0) {
            onStride();
            if (cancelled.load(std::memory_order_relaxed)) {
                // The lines merged so far lose the batch's lines among them.
                for (std::size_t merged = to; merged < total; ++merged)
                    if (lines[merged] < firstAdded)
                        lines[end++] = lines[merged];
                return false;
            }
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
                takeAfter(lines, end, batch[next - 1]);
                linesInARow = 0;
            } else if (batchInARow == GallopAfter && end > 0 && next > 0) {
                takeAfter(batch, next, lines[end - 1]);
                batchInARow = 0;
            }
        } else if (walkBatch) {
            takeAfter(lines, end, batch[next - 1]);
            lines[--to] = batch[--next];
        } else {
            takeAfter(batch, next, lines[end - 1]);
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
// A long merge is cut into parts at even places of the output, each merged
// on its own, taken in turn: with `parallel`, by two threads from the start;
// with `helpWanted`, by this thread alone until the flag is set, then by a
// second thread too (`precedes` and `fetchAhead` are then called on both).
template <typename Precedes, typename FetchAhead = NoFetchAhead>
bool mergeInPlace(BigVector<quint32> &lines,
                  const BigVector<quint32> &batch,
                  Precedes precedes,
                  const std::atomic<bool> &cancelled,
                  FetchAhead fetchAhead = {},
                  bool parallel = false,
                  const std::atomic<bool> *helpWanted = nullptr)
{
    const std::size_t before = lines.size();
    const std::size_t total = before + batch.size();
    const auto firstAdded = quint32(before);
    if (lines.capacity() < total)
        lines.reserve(std::max(total, lines.capacity() + lines.capacity() / 4));
    lines.resize(total);
    const auto noCheck = [] {};
    if ((!parallel && !helpWanted) || !worthASecondThread(total)) {
        if (mergeStretch(lines.data(),
                         before,
                         batch.data(),
                         batch.size(),
                         firstAdded,
                         precedes,
                         cancelled,
                         fetchAhead,
                         noCheck))
            return true;
        lines.resize(before);
        return false;
    }
    // Part p of the output, from outputAt[p], takes the lines from linesAt[p]
    // and the batch's from outputAt[p] - linesAt[p]. Each part's lines move
    // up to where its output begins (the last part's first), and the parts
    // merge on their own.
    constexpr std::size_t MostParts = 8;
    const std::size_t parts = std::clamp<std::size_t>(total >> 18, 2, MostParts);
    std::array<std::size_t, MostParts + 1> outputAt{};
    std::array<std::size_t, MostParts + 1> linesAt{};
    for (std::size_t p = 1; p < parts; ++p) {
        outputAt[p] = total * p / parts;
        linesAt[p] =
            takenFromFirst(lines.data(), before, batch.data(), batch.size(), outputAt[p], precedes);
    }
    outputAt[parts] = total;
    linesAt[parts] = before;
    quint32 *const data = lines.data();
    for (std::size_t p = parts - 1; p > 0; --p)
        std::memmove(
            data + outputAt[p], data + linesAt[p], (linesAt[p + 1] - linesAt[p]) * sizeof(quint32));
    enum PartState : char { Waiting, Merged, Undone };
    std::array<std::atomic<char>, MostParts> state{};
    std::atomic<std::size_t> nextPart{0};
    // Takes parts in turn until none is left (once cancelled, each stops
    // soon, undone).
    const auto takeParts = [&](auto &onStride) {
        for (std::size_t p; (p = nextPart.fetch_add(1)) < parts;) {
            const std::size_t fromBatch = outputAt[p] - linesAt[p];
            const bool merged = mergeStretch(data + outputAt[p],
                                             linesAt[p + 1] - linesAt[p],
                                             batch.data() + fromBatch,
                                             outputAt[p + 1] - linesAt[p + 1] - fromBatch,
                                             firstAdded,
                                             precedes,
                                             cancelled,
                                             fetchAhead,
                                             onStride);
            state[p].store(merged ? Merged : Undone);
        }
    };
    std::thread helper;
    std::exception_ptr helperFailed;
    const auto startHelper = [&] {
        try {
            helper = std::thread([&] {
                try {
                    takeParts(noCheck);
                } catch (...) {
                    helperFailed = std::current_exception();
                }
            });
        } catch (const std::system_error &) {
            // This thread merges every part.
        }
    };
    const auto askedForHelp = [&] {
        if (!helper.joinable() && helpWanted && helpWanted->load(std::memory_order_relaxed))
            startHelper();
    };
    if (parallel)
        startHelper();
    std::exception_ptr failed;
    try {
        takeParts(askedForHelp);
    } catch (...) {
        failed = std::current_exception();
    }
    if (helper.joinable())
        helper.join();
    if (failed || helperFailed)
        std::rethrow_exception(failed ? failed : helperFailed);
    bool whole = true;
    for (std::size_t p = 0; p < parts; ++p)
        whole = whole && state[p].load() == Merged;
    if (whole)
        return true;
    // Undone: a part merged to its end loses the batch's lines too (those
    // undone hold only their lines already), then each part's lines move
    // back down after those of the part before.
    for (std::size_t p = 0; p < parts; ++p) {
        if (state[p].load() != Merged)
            continue;
        std::size_t kept = 0;
        for (std::size_t i = outputAt[p]; i < outputAt[p + 1]; ++i)
            if (data[i] < firstAdded)
                data[outputAt[p] + kept++] = data[i];
    }
    for (std::size_t p = 1; p < parts; ++p)
        std::memmove(
            data + linesAt[p], data + outputAt[p], (linesAt[p + 1] - linesAt[p]) * sizeof(quint32));
    lines.resize(before);
    return false;
}

} // namespace core::detail
