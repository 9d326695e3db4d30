// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ListOrderAToZ.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace core::detail {

namespace {

// How many lines go between two looks at the stop flag.
constexpr std::size_t StopStride = 1 << 16;

} // namespace

bool AToZSorter::sort(const BigVector<quint32> *only,
                      std::size_t first,
                      std::size_t size,
                      BigVector<quint32> &sorted,
                      bool parallel) const
{
    KeyedLines entries(size);
    KeyedLines scratch(size);
    const auto linesOf = [&](KeyedLines &keyed) {
        sorted.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            sorted[i] = keyed[i].line;
        return true;
    };
    if (!parallel || !worthASecondThread(size))
        return makeKeys(entries.begin(), entries.end(), only, first)
               && sortKeyed(entries.begin(), entries.end(), scratch.begin()) && linesOf(entries);
    const std::size_t half = size / 2;
    KeyedLine *const middle = entries.begin() + half;
    if (!runBoth(
            [&] {
                return makeKeys(entries.begin(), middle, only, first);
            },
            [&] {
                return makeKeys(middle, entries.end(), only, first + half);
            }))
        return false;
    // `parts` sorted as two, [0, lower) and [lower, size), side by side;
    // each one's scratch lies at the same place in `partsScratch`.
    const auto sortParts = [&](KeyedLines &parts, std::size_t lower, KeyedLines &partsScratch) {
        return runBoth(
            [&] {
                return sortKeyed(parts.begin(), parts.begin() + lower, partsScratch.begin());
            },
            [&] {
                return sortKeyed(parts.begin() + lower, parts.end(), partsScratch.begin() + lower);
            });
    };
    // Two parts that need no merge, where the lines' first bytes give them.
    if (const std::size_t lower = partByBeginning(entries.begin(), size, scratch.begin()))
        return sortParts(scratch, lower, entries) && linesOf(scratch);
    if (!sortParts(entries, half, scratch))
        return false;
    sorted.resize(size);
    return mergeHalves(entries.begin(), middle, entries.end(), sorted.data());
}

bool AToZSorter::makeKeys(KeyedLine *begin,
                          KeyedLine *end,
                          const BigVector<quint32> *only,
                          std::size_t first) const
{
    const auto size = std::size_t(end - begin);
    for (std::size_t i = 0; i < size; ++i) {
        if ((i & (StopStride - 1)) == 0 && stopped())
            return false;
        const std::size_t at = first + i;
        const auto line = quint32(only ? (*only)[at] : at);
        const QByteArrayView bytes = m_lines.utf8(line);
        begin[i] = {prefixKey(bytes), line, quint32(std::min<qsizetype>(bytes.size(), UINT32_MAX))};
    }
    return true;
}

std::size_t
AToZSorter::partByBeginning(const KeyedLine *entries, std::size_t size, KeyedLine *parted) const
{
    // The highest eleven bits in which keys differ, counted.
    const quint64 differing = differingKeyBits(entries, entries + size);
    if (differing == 0 || stopped())
        return 0;
    const int highBit = 64 - std::countl_zero(differing);
    const int shift = std::max(0, highBit - 11);
    const quint64 digitMask = (quint64(1) << (highBit - shift)) - 1;
    std::vector<std::size_t> counts(std::size_t(digitMask) + 1, 0);
    for (std::size_t i = 0; i < size; ++i)
        ++counts[(entries[i].key >> shift) & digitMask];
    // The digit that parts them nearest to halves; a third at least each.
    const auto fromHalf = [&](std::size_t n) {
        return n > size / 2 ? n - size / 2 : size / 2 - n;
    };
    std::size_t lower = 0;
    std::size_t best = 0;
    quint64 splitDigit = 0;
    for (quint64 digit = 1; digit <= digitMask; ++digit) {
        lower += counts[std::size_t(digit - 1)];
        if (fromHalf(lower) < fromHalf(best)) {
            best = lower;
            splitDigit = digit;
        }
    }
    if (best < size / 3 || best > size - size / 3)
        return 0;
    std::size_t low = 0;
    std::size_t high = best;
    for (std::size_t i = 0; i < size; ++i) {
        if (((entries[i].key >> shift) & digitMask) < splitDigit)
            parted[low++] = entries[i];
        else
            parted[high++] = entries[i];
    }
    return best;
}

// Puts the lines of [begin, end), sorted by their bytes before `offset`, in
// whole order: each run of equal keys is sorted by its next eight bytes, and
// so on; short runs, and lines that still tie deep inside, by comparing their
// texts. Keys pad a line's end with zeros, so a smaller key always means an
// earlier line, and ties go on to the next bytes.
bool AToZSorter::sortTies(KeyedLine *begin,
                          KeyedLine *end,
                          KeyedLine *scratch,
                          qsizetype offset) const
{
    constexpr std::ptrdiff_t ShortRun = 64;
    constexpr qsizetype DeepestOffset = 256;
    for (KeyedLine *run = begin; run < end;) {
        KeyedLine *runEnd = run + 1;
        while (runEnd < end && runEnd->key == run->key)
            ++runEnd;
        if (runEnd - run > 1) {
            if (stopped())
                return false;
            if (offset >= DeepestOffset) {
                std::sort(run, runEnd, [this](const KeyedLine &a, const KeyedLine &b) {
                    return precedes(a.line, b.line);
                });
                run = runEnd;
                continue;
            }
            // Lines that all end here are the same text (repeated lines),
            // already in found order, unless they differ in trailing zero
            // bytes: those go shortest first.
            const auto endsHere = [offset](const KeyedLine &entry) {
                return entry.length <= offset;
            };
            if (std::all_of(run, runEnd, endsHere)) {
                const auto shorter = [](const KeyedLine &a, const KeyedLine &b) {
                    return a.length < b.length;
                };
                if (!std::is_sorted(run, runEnd, shorter))
                    std::stable_sort(run, runEnd, shorter);
                run = runEnd;
                continue;
            }
            // The texts of the lines that go on lie at random: they are
            // fetched ahead.
            constexpr std::ptrdiff_t Ahead = 8;
            for (KeyedLine *entry = run; entry != runEnd; ++entry) {
                if (runEnd - entry > 2 * Ahead && !endsHere(entry[2 * Ahead]))
                    m_lines.fetchPlace(entry[2 * Ahead].line);
                if (runEnd - entry > Ahead && !endsHere(entry[Ahead]))
                    m_lines.fetchBytes(entry[Ahead].line);
                entry->key =
                    endsHere(*entry) ? 0 : prefixKey(m_lines.utf8(entry->line).sliced(offset));
            }
            if (runEnd - run <= ShortRun) {
                // By the next bytes, then the texts from there; lines that
                // both end within those bytes are read no further.
                const qsizetype keyEnd = offset + 8;
                std::sort(run, runEnd, [&](const KeyedLine &a, const KeyedLine &b) {
                    if (a.key != b.key)
                        return a.key < b.key;
                    if (a.length <= keyEnd && b.length <= keyEnd)
                        return a.length != b.length ? a.length < b.length : a.line < b.line;
                    const QByteArrayView x = m_lines.utf8(a.line);
                    const QByteArrayView y = m_lines.utf8(b.line);
                    const int compared = compareIgnoringAsciiCase(
                        x.sliced(std::min(offset, x.size())), y.sliced(std::min(offset, y.size())));
                    return compared != 0 ? compared < 0 : a.line < b.line;
                });
            } else if (!radixSort(run, runEnd, scratch, 0, m_stop)
                       || !sortTies(run, runEnd, scratch, offset + 8)) {
                return false;
            }
        }
        run = runEnd;
    }
    return true;
}

bool AToZSorter::mergeHalves(const KeyedLine *begin,
                             const KeyedLine *middle,
                             const KeyedLine *end,
                             quint32 *sorted) const
{
    // By the texts: sorting ties left other bytes in the keys of lines that
    // tied.
    const auto before = [this](const KeyedLine &a, const KeyedLine &b) {
        return precedes(a.line, b.line);
    };
    const auto firstSize = std::size_t(middle - begin);
    const auto secondSize = std::size_t(end - middle);
    // The first `split` lines of the output take `fromFirst` lines of the
    // first half.
    const std::size_t split = (firstSize + secondSize) / 2;
    const std::size_t fromFirst =
        takenFromFirst(begin, firstSize, middle, secondSize, split, before);
    const auto mergeRun = [&](const KeyedLine *a,
                              const KeyedLine *aEnd,
                              const KeyedLine *b,
                              const KeyedLine *bEnd,
                              quint32 *out) {
        constexpr std::ptrdiff_t Ahead = 16;
        for (std::size_t step = 0; a != aEnd && b != bEnd; ++step) {
            if ((step & (StopStride - 1)) == 0 && stopped())
                return false;
            // The texts lie at random: where they lie is fetched ahead,
            // then their first bytes.
            if (aEnd - a > 2 * Ahead)
                m_lines.fetchPlace(a[2 * Ahead].line);
            if (aEnd - a > Ahead)
                m_lines.fetchBytes(a[Ahead].line);
            if (bEnd - b > 2 * Ahead)
                m_lines.fetchPlace(b[2 * Ahead].line);
            if (bEnd - b > Ahead)
                m_lines.fetchBytes(b[Ahead].line);
            *out++ = before(*b, *a) ? (b++)->line : (a++)->line;
        }
        for (; a != aEnd; ++a)
            *out++ = a->line;
        for (; b != bEnd; ++b)
            *out++ = b->line;
        return true;
    };
    return runBoth(
        [&] {
            return mergeRun(begin, begin + fromFirst, middle, middle + (split - fromFirst), sorted);
        },
        [&] {
            return mergeRun(
                begin + fromFirst, middle, middle + (split - fromFirst), end, sorted + split);
        });
}

} // namespace core::detail
