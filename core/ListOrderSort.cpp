// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ListOrderSort.h"

#include <array>
#include <cstring>
#include <utility>

namespace core::detail {

int compareIgnoringAsciiCase(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    // Eight bytes at a time while both have them, then byte by byte.
    qsizetype i = 0;
    for (; i + 8 <= common; i += 8) {
        const quint64 x = prefixKey(a.sliced(i, 8));
        const quint64 y = prefixKey(b.sliced(i, 8));
        if (x != y)
            return x < y ? -1 : 1;
    }
    for (; i < common; ++i) {
        auto x = quint8(a[i]);
        auto y = quint8(b[i]);
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

// Runs this long are sorted by digits of eleven bits, shorter ones by eight.
constexpr std::size_t LongRun = std::size_t(1) << 16;

// The number a radix sort orders an entry by.
quint64 keyOf(const KeyedLine &entry)
{
    return entry.key;
}

quint64 keyOf(quint64 entry)
{
    return entry;
}

// The bits in which the keys of [begin, end) differ.
template <typename Entry>
quint64 differingBits(const Entry *begin, const Entry *end)
{
    quint64 differing = 0;
    for (const Entry *entry = begin; entry != end; ++entry)
        differing |= keyOf(*entry) ^ keyOf(*begin);
    return differing;
}

// A stable least-significant-digit radix sort of [begin, end) by the key's
// bits [lowBit, highBit), through `scratch` (at least as long): 11 bits a
// pass for long runs, 8 for short ones, whose counting would otherwise cost
// more than their lines; passes over a digit that every key shares (no bit
// of it in `differing`) are skipped without counting. Returns where the
// sorted lines are (`begin` or `scratch`), or nullptr once cancelled.
template <typename Entry>
Entry *lsdRadixSort(Entry *begin,
                    Entry *end,
                    Entry *scratch,
                    int lowBit,
                    int highBit,
                    quint64 differing,
                    const std::atomic<bool> &cancelled)
{
    const auto size = std::size_t(end - begin);
    const int digitBits = size < LongRun ? 8 : 11;
    const std::size_t digits = std::size_t(1) << digitBits;
    std::array<std::size_t, (1 << 11) + 1> starts;
    Entry *from = begin;
    Entry *to = scratch;
    for (int shift = lowBit; shift < highBit; shift += digitBits) {
        if (((differing >> shift) & (digits - 1)) == 0)
            continue;
        if (cancelled.load(std::memory_order_relaxed))
            return nullptr;
        std::fill_n(starts.begin(), digits + 1, 0);
        for (const Entry *entry = from; entry != from + size; ++entry)
            ++starts[((keyOf(*entry) >> shift) & (digits - 1)) + 1];
        for (std::size_t d = 0; d < digits; ++d)
            starts[d + 1] += starts[d];
        for (const Entry *entry = from; entry != from + size; ++entry)
            to[starts[(keyOf(*entry) >> shift) & (digits - 1)]++] = *entry;
        std::swap(from, to);
    }
    return from;
}

// Sorts [begin, end) by the key's bits from `lowBit` up through `scratch`,
// when those bits take few values (lines repeated, or alike for eight bytes):
// a small table numbers the values as the entries are read, the values are
// put in order, and one counting pass places the entries, stable. Returns
// `scratch`, where the sorted entries are, or nullptr, nothing moved, once
// the values are too many for that.
template <typename Entry>
Entry *sortFewValues(Entry *begin, Entry *end, Entry *scratch, int lowBit)
{
    constexpr std::size_t MostValues = 2048;
    constexpr quint16 Empty = 0xffff;
    const auto size = std::size_t(end - begin);
    // Twice as many slots as values at most, so that probes stay short.
    const std::size_t tableSize = std::bit_ceil(2 * std::min(size, MostValues));
    const int slotShift = 64 - std::countr_zero(tableSize);
    std::array<quint64, 2 * MostValues> values;
    std::array<quint16, 2 * MostValues> numbers;
    std::fill_n(numbers.begin(), tableSize, Empty);
    std::array<std::size_t, MostValues> counts;
    std::size_t found = 0;
    // The number of an entry's value, numbering it when new (Empty when
    // there is no number left for it).
    const auto numberOf = [&](const Entry &entry) -> quint16 {
        const quint64 value = keyOf(entry) >> lowBit;
        std::size_t slot = std::size_t((value * 0x9e3779b97f4a7c15) >> slotShift);
        while (numbers[slot] != Empty) {
            if (values[slot] == value)
                return numbers[slot];
            slot = (slot + 1) & (tableSize - 1);
        }
        if (found == MostValues)
            return Empty;
        values[slot] = value;
        numbers[slot] = quint16(found);
        counts[found] = 0;
        return quint16(found++);
    };
    for (const Entry *entry = begin; entry != end; ++entry) {
        const quint16 number = numberOf(*entry);
        if (number == Empty)
            return nullptr;
        ++counts[number];
    }
    // Where each value's entries begin, the values in order.
    std::array<std::pair<quint64, quint16>, MostValues> ordered;
    std::size_t n = 0;
    for (std::size_t slot = 0; slot < tableSize; ++slot)
        if (numbers[slot] != Empty)
            ordered[n++] = {values[slot], numbers[slot]};
    std::sort(ordered.begin(), ordered.begin() + n);
    std::array<std::size_t, MostValues> starts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        starts[ordered[i].second] = start;
        start += counts[ordered[i].second];
    }
    for (const Entry *entry = begin; entry != end; ++entry)
        scratch[starts[numberOf(*entry)]++] = *entry;
    return scratch;
}

// Keys of few values are placed by their numbers. Else a long run is first
// split by its highest eleven bits that differ, then each part, small enough
// to stay in the processor's cache, is sorted by the bits below: the whole
// run crosses the memory twice, not once a digit.
template <typename Entry>
bool radixSortOf(
    Entry *begin, Entry *end, Entry *scratch, int lowBit, const std::atomic<bool> &cancelled)
{
    const auto size = std::size_t(end - begin);
    const quint64 differing = differingBits(begin, end) & (~quint64(0) << lowBit);
    if (differing == 0)
        return true;
    // Keys that differ in more bits than two digits hold take a radix sort
    // more than two passes: numbering their values, if few, takes two.
    const int digitBits = size < LongRun ? 8 : 11;
    if (64 - std::countl_zero(differing) - std::countr_zero(differing) > 2 * digitBits
        && sortFewValues(begin, end, scratch, lowBit)) {
        std::copy(scratch, scratch + size, begin);
        return true;
    }
    if (size < LongRun) {
        const Entry *sorted = lsdRadixSort(begin, end, scratch, lowBit, 64, differing, cancelled);
        if (sorted == scratch)
            std::copy(scratch, scratch + size, begin);
        return sorted != nullptr;
    }
    const int highBit = 64 - std::countl_zero(differing);
    const int shift = std::max(lowBit, highBit - 11);
    const std::size_t digits = std::size_t(1) << (highBit - shift);
    std::vector<std::size_t> starts(digits + 1, 0);
    for (const Entry *entry = begin; entry != end; ++entry)
        ++starts[((keyOf(*entry) >> shift) & (digits - 1)) + 1];
    for (std::size_t d = 0; d < digits; ++d)
        starts[d + 1] += starts[d];
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (const Entry *entry = begin; entry != end; ++entry)
        scratch[next[(keyOf(*entry) >> shift) & (digits - 1)]++] = *entry;
    for (std::size_t d = 0; d < digits; ++d) {
        Entry *part = scratch + starts[d];
        Entry *partEnd = scratch + starts[d + 1];
        const Entry *sorted = lsdRadixSort(part,
                                           partEnd,
                                           begin + starts[d],
                                           lowBit,
                                           shift,
                                           differingBits(part, partEnd),
                                           cancelled);
        if (!sorted)
            return false;
        if (sorted == part)
            std::copy(part, partEnd, begin + starts[d]);
    }
    return true;
}

} // namespace

quint64 differingKeyBits(const KeyedLine *begin, const KeyedLine *end)
{
    return differingBits(begin, end);
}

bool radixSort(KeyedLine *begin,
               KeyedLine *end,
               KeyedLine *scratch,
               int lowBit,
               const std::atomic<bool> &cancelled)
{
    return radixSortOf(begin, end, scratch, lowBit, cancelled);
}

bool radixSort(
    quint64 *begin, quint64 *end, quint64 *scratch, int lowBit, const std::atomic<bool> &cancelled)
{
    return radixSortOf(begin, end, scratch, lowBit, cancelled);
}

} // namespace core::detail
