// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Sorting the lines of a list "A to Z", for the order builds.

#pragma once

#include "core/BigMemory.h"
#include "core/ListOrderSort.h"
#include "core/TextStore.h"

#include <atomic>

namespace core::detail {

// Sorts lines A to Z, upper-case ASCII letters as lower-case, equal texts in
// found order: by a radix sort of their first eight bytes, then the lines
// that tie there by their next bytes. A long batch may be sorted on two
// threads: in two parts by its lines' first bytes where they split it well,
// else in two halves, then merged.
class AToZSorter
{
public:
    AToZSorter(const TextStore::View &lines, const std::atomic<bool> &stop)
        : m_lines(lines)
        , m_stop(stop)
    {}

    // The lines [first, first + size), or those of `only` when given, into
    // `sorted`; on a second thread too when `parallel`. Returns false, part
    // done, once `stop` is set; throws std::bad_alloc when memory ran out.
    bool sort(const BigVector<quint32> *only,
              std::size_t first,
              std::size_t size,
              BigVector<quint32> &sorted,
              bool parallel) const;

    // Whether line `a` comes before line `b`.
    bool precedes(quint32 a, quint32 b) const
    {
        const int compared = compareIgnoringAsciiCase(m_lines.utf8(a), m_lines.utf8(b));
        return compared != 0 ? compared < 0 : a < b;
    }

private:
    bool stopped() const { return m_stop.load(std::memory_order_relaxed); }
    // Keys [begin, end) for the lines from `first` on (or those of `only`
    // from `first` on).
    bool makeKeys(KeyedLine *begin,
                  KeyedLine *end,
                  const BigVector<quint32> *only,
                  std::size_t first) const;
    // Sorts keyed lines.
    bool sortKeyed(KeyedLine *begin, KeyedLine *end, KeyedLine *scratch) const
    {
        return radixSort(begin, end, scratch, 0, m_stop) && sortTies(begin, end, scratch, 8);
    }
    // Parts keyed lines by their first bytes into two of a third or more
    // each, every line of the first before every line of the second, found
    // order kept in each: into `parted`, returning the first's size; 0, with
    // nothing moved, when the first bytes part them no such way.
    std::size_t
    partByBeginning(const KeyedLine *entries, std::size_t size, KeyedLine *parted) const;
    bool sortTies(KeyedLine *begin, KeyedLine *end, KeyedLine *scratch, qsizetype offset) const;
    // Merges the sorted halves [begin, middle) and [middle, end) into the
    // lines of `sorted`, the two halves of the output on two threads.
    bool mergeHalves(const KeyedLine *begin,
                     const KeyedLine *middle,
                     const KeyedLine *end,
                     quint32 *sorted) const;

    const TextStore::View &m_lines;
    const std::atomic<bool> &m_stop;
};

} // namespace core::detail
