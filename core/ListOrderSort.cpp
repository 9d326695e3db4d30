// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ListOrderSort.h"

#include <array>
#include <utility>

namespace core::detail {

int compareIgnoringAsciiCase(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
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

quint64 prefixKey(QByteArrayView bytes)
{
    quint64 key = 0;
    const qsizetype size = std::min<qsizetype>(bytes.size(), 8);
    for (qsizetype i = 0; i < size; ++i) {
        auto c = quint8(bytes[i]);
        if (c >= 'A' && c <= 'Z')
            c += 32;
        key |= quint64(c) << (56 - 8 * i);
    }
    return key;
}

// A stable least-significant-digit radix sort of [begin, end) by the key's
// bits from `lowBit` up, through `scratch` (at least as long): 11 bits a
// pass for long runs, 8 for short ones, whose counting would otherwise cost
// more than their lines; passes over a digit that every key shares are
// skipped.
bool radixSort(KeyedLine *begin,
               KeyedLine *end,
               KeyedLine *scratch,
               int lowBit,
               const std::atomic<bool> &cancelled)
{
    const auto size = std::size_t(end - begin);
    const int digitBits = size >= (std::size_t(1) << 16) ? 11 : 8;
    const std::size_t digits = std::size_t(1) << digitBits;
    std::array<std::size_t, (1 << 11) + 1> starts;
    KeyedLine *from = begin;
    KeyedLine *to = scratch;
    for (int shift = lowBit; shift < 64; shift += digitBits) {
        if (cancelled.load(std::memory_order_relaxed))
            return false;
        std::fill_n(starts.begin(), digits + 1, 0);
        for (const KeyedLine *entry = from; entry != from + size; ++entry)
            ++starts[((entry->key >> shift) & (digits - 1)) + 1];
        if (std::any_of(starts.begin() + 1,
                        starts.begin() + std::ptrdiff_t(digits) + 1,
                        [&](std::size_t n) {
                            return n == size;
                        }))
            continue;
        for (std::size_t d = 0; d < digits; ++d)
            starts[d + 1] += starts[d];
        for (const KeyedLine *entry = from; entry != from + size; ++entry)
            to[starts[(entry->key >> shift) & (digits - 1)]++] = *entry;
        std::swap(from, to);
    }
    if (from != begin)
        std::copy(from, from + size, begin);
    return true;
}

} // namespace core::detail
