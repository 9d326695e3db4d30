// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ListOrder.h"

#include "core/ListOrderAToZ.h"
#include "core/ListOrderRanks.h"
#include "core/ListOrderSort.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <utility>

namespace core {

namespace {

// How many lines go between two looks at the cancel flag.
constexpr std::size_t CancelStride = 1 << 16;

class Builder
{
public:
    Builder(const OrderInput &input, OrderOutput &output, const BuildControl &control)
        : m_in(input)
        , m_out(output)
        , m_control(control)
        , m_order(input.order)
    {}

    bool run()
    {
        if ((isRankedOrder(m_in.order) || (m_in.rankingOnly && m_in.rank)) && !rankLines())
            return false;
        if (m_in.rankingOnly)
            return !m_in.prepared || prepareOrders();
        if (m_in.order == ListOrder::AsFound && !m_in.shown)
            return true;
        if (m_in.placedInMemory)
            return sortAndMergeInPlace(m_out.permutation, std::size_t(m_in.placedLines));
        const std::size_t first = m_in.placed ? std::size_t(m_in.placedLines) : 0;
        BigVector<quint32> batch;
        if (m_in.shown || m_in.order == ListOrder::BestNumberFirst) {
            BigVector<quint32> lines;
            if (!shownLines(first, lines) || !sortLines(&lines, first, batch))
                return false;
        } else if (!sortLines(nullptr, first, batch)) {
            return false;
        }
        if (!m_in.placed) {
            m_out.permutation = std::move(batch);
            return true;
        }
        if (m_in.order == ListOrder::BestNumberFirst) {
            // One row per group: few rows, copied freely.
            BigVector<quint32> placed = *m_in.placed;
            keepBestOfGroupAcross(first, placed, batch);
            return merge(placed, batch);
        }
        return merge(*m_in.placed, batch);
    }

private:
    quint32 rankOf(quint32 line) const
    {
        return line < m_in.ranked ? m_in.ranks[line] : m_out.ranks[line - m_out.ranksFrom];
    }

    bool cancelled() const { return m_stop->load(std::memory_order_relaxed); }

    // A second thread helps a switch, and work beside or ahead of one once it
    // is asked for; work ahead of a switch during a run, and lines placed
    // while it goes on, leave the other core to the run.
    bool useSecondThread() const
    {
        return !m_in.placed
               && (!m_in.rankingOnly || m_in.onlyOrder
                   || m_control.hurried.load(std::memory_order_relaxed) >= 0);
    }

    // Fetches ahead what precedes() reads of a line: its rank, or its text.
    void fetchAhead(quint32 line, bool soon) const
    {
        if (isRankedOrder(m_order)) {
            if (!soon)
                __builtin_prefetch(line < m_in.ranked ? &m_in.ranks[line]
                                                      : &m_out.ranks[line - m_out.ranksFrom]);
        } else if (m_order == ListOrder::AToZ) {
            if (soon)
                m_lines->fetchBytes(line);
            else
                m_lines->fetchPlace(line);
        }
    }

    bool precedes(quint32 a, quint32 b) const
    {
        if (isRankedOrder(m_order)) {
            const quint32 x = rankOf(a);
            const quint32 y = rankOf(b);
            if (x != y)
                return x < y;
        } else if (m_order == ListOrder::AToZ) {
            const int compared =
                detail::compareIgnoringAsciiCase(m_lines->utf8(a), m_lines->utf8(b));
            if (compared != 0)
                return compared < 0;
        }
        return a < b;
    }

    bool rankLines() { return detail::LineRanker(m_in, m_out, m_control).rankLines(); }

    // The index of the group of `line` in the input's groups; -1 before them.
    qsizetype groupOf(qsizetype line) const
    {
        const auto after = std::upper_bound(
            m_in.groups.begin(), m_in.groups.end(), line, [](qsizetype l, const LineGroup &g) {
                return l < g.first;
            });
        return after - m_in.groups.begin() - 1;
    }

    // The lines from `first` on that are shown, in found order: those the
    // test accepts, and under BestNumberFirst only each group's best.
    bool shownLines(std::size_t first, BigVector<quint32> &lines)
    {
        const auto count = std::size_t(m_in.lines.size());
        const bool bestOfGroup = m_in.order == ListOrder::BestNumberFirst;
        qsizetype lastGroup = -2;
        for (std::size_t line = first; line < count; ++line) {
            if ((line & (CancelStride - 1)) == 0 && cancelled())
                return false;
            if (m_in.shown && !m_in.shown(m_in.lines.text(qsizetype(line))))
                continue;
            if (bestOfGroup) {
                // A group's lines are neighbours in the store.
                const qsizetype group = groupOf(qsizetype(line));
                if (group == lastGroup) {
                    if (precedes(quint32(line), lines.back()))
                        lines.back() = quint32(line);
                    continue;
                }
                lastGroup = group;
            }
            lines.push_back(quint32(line));
        }
        return true;
    }

    // BestNumberFirst placing new lines: the group that the placed lines
    // end in keeps one row, for the better of its placed and new lines.
    void keepBestOfGroupAcross(std::size_t first,
                               BigVector<quint32> &placed,
                               BigVector<quint32> &batch) const
    {
        if (first == 0 || placed.empty() || batch.empty())
            return;
        const qsizetype group = groupOf(qsizetype(first));
        if (group != groupOf(qsizetype(first) - 1))
            return;
        const qsizetype groupStart = group < 0 ? 0 : m_in.groups[std::size_t(group)].first;
        const auto added = std::find_if(batch.begin(), batch.end(), [&](quint32 line) {
            return groupOf(line) == group;
        });
        const auto shown = std::find_if(placed.begin(), placed.end(), [&](quint32 line) {
            return line >= groupStart;
        });
        if (added == batch.end() || shown == placed.end())
            return;
        if (precedes(*added, *shown))
            placed.erase(shown);
        else
            batch.erase(added);
    }

    // The lines from `first` on (or only those of `only`), in order: sorted
    // by a number that orders them (the rank, or the first letters), then
    // lines of equal numbers by their whole text.
    bool sortLines(const BigVector<quint32> *only, std::size_t first, BigVector<quint32> &sorted)
    {
        if (m_order == ListOrder::AsFound) {
            sorted = *only; // found order; a subset only comes here
            return true;
        }
        const std::size_t size = only ? only->size() : std::size_t(m_lines->size()) - first;
        if (isRankedOrder(m_order))
            return sortByRank(only, first, size, sorted);
        return detail::AToZSorter(*m_lines, *m_stop)
            .sort(only, only ? 0 : first, size, sorted, useSecondThread());
    }

    // sortLines() by rank: each line packed with its rank in eight bytes.
    bool sortByRank(const BigVector<quint32> *only,
                    std::size_t first,
                    std::size_t size,
                    BigVector<quint32> &sorted)
    {
        detail::SortArray<quint64> entries(size);
        for (std::size_t i = 0; i < size; ++i) {
            if ((i & (CancelStride - 1)) == 0 && cancelled())
                return false;
            const auto line = quint32(only ? (*only)[i] : first + i);
            entries[i] = quint64(rankOf(line)) << 32 | line;
        }
        detail::SortArray<quint64> scratch(size);
        if (!detail::radixSort(entries.begin(), entries.end(), scratch.begin(), 32, *m_stop))
            return false;
        sorted.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            sorted[i] = quint32(entries[i]);
        return true;
    }

    // The placed lines with the sorted batch among them. Each line of the
    // batch finds its place by galloping from the place of the one before,
    // so a small batch costs little beyond copying the list.
    bool merge(const BigVector<quint32> &placed, const BigVector<quint32> &batch)
    {
        // The output may hold the memory of an earlier order, already paged in.
        BigVector<quint32> &merged = m_out.permutation;
        merged.clear();
        merged.reserve(placed.size() + batch.size());
        std::size_t from = 0;
        for (std::size_t i = 0; i < batch.size(); ++i) {
            if ((i & (CancelStride - 1)) == 0 && cancelled())
                return false;
            const quint32 line = batch[i];
            // The first placed line after `line`, from `from` on.
            std::size_t low = from;
            std::size_t step = 1;
            std::size_t high = from;
            while (high < placed.size() && !precedes(line, placed[high])) {
                low = high + 1;
                high = from + step;
                step *= 2;
            }
            high = std::min(high, placed.size());
            const auto at = std::upper_bound(placed.begin() + std::ptrdiff_t(low),
                                             placed.begin() + std::ptrdiff_t(high),
                                             line,
                                             [this](quint32 a, quint32 b) {
                                                 return precedes(a, b);
                                             });
            const auto to = std::size_t(at - placed.begin());
            merged.insert(merged.end(),
                          placed.begin() + std::ptrdiff_t(from),
                          placed.begin() + std::ptrdiff_t(to));
            merged.push_back(line);
            from = to;
        }
        merged.insert(merged.end(), placed.begin() + std::ptrdiff_t(from), placed.end());
        return true;
    }

    // Sorts the lines from `first` on and merges them into `lines`, which
    // holds the lines before them in order; see detail::mergeInPlace().
    bool sortAndMergeInPlace(BigVector<quint32> &lines, std::size_t first)
    {
        BigVector<quint32> batch;
        return sortAllLines(first, batch)
               && detail::mergeInPlace(
                   lines,
                   batch,
                   [this](quint32 a, quint32 b) {
                       return precedes(a, b);
                   },
                   *m_stop,
                   [this](quint32 line, bool soon) {
                       fetchAhead(line, soon);
                   },
                   useSecondThread(),
                   m_in.rankingOnly ? &m_control.helpWanted : nullptr);
    }

    // sortLines() of the lines from `first` on. Ahead of a switch to "A to
    // Z", lines given by the switch while they are sorted stop the sort,
    // which begins again with them: one merge of them all costs less than
    // the second merge a switch would do for them.
    bool sortAllLines(std::size_t first, BigVector<quint32> &sorted)
    {
        if (!m_in.rankingOnly || m_order != ListOrder::AToZ || m_lines != &m_in.lines)
            return sortLines(nullptr, first, sorted);
        const std::atomic<bool> *const stop = std::exchange(m_stop, &m_control.aToZResorts);
        const bool done = sortLines(nullptr, first, sorted);
        m_stop = stop;
        if (done)
            return true;
        m_control.aToZResorts.load(std::memory_order_acquire); // sees the lines given before
        const TextStore::View *const more = m_control.moreLines.load(std::memory_order_acquire);
        if (cancelled() || !more)
            return false; // left, or cancelled
        m_lines = more;
        sorted.clear();
        return sortLines(nullptr, first, sorted);
    }

    // Sorts the lines that arrived since the prepared orders were last
    // extended, and merges them in, "Best first" (when lines are ranked) and
    // "A to Z". A merge cancelled half way is undone; so is one of the order
    // a switch does not ask for, which the switch then leaves alone.
    bool prepareOrders()
    {
        PreparedOrders &prepared = *m_in.prepared;
        for (const ListOrder order : {ListOrder::BestFirst, ListOrder::AToZ}) {
            if (!m_in.prepares(order) || (order == ListOrder::BestFirst && !m_in.rank))
                continue;
            const int wanted = m_control.hurried.load(std::memory_order_relaxed);
            if (wanted >= 0 && ListOrder(wanted) != order)
                continue;
            const auto count = std::size_t(m_lines->size());
            BigVector<quint32> &lines = prepared.of(order);
            const std::size_t first = lines.size();
            if (first >= count)
                continue;
            m_order = order;
            m_stop = &m_control.leaving(order);
            sortAndMergeInPlace(lines, first);
            prepared.recount(order);
            m_stop = &m_control.cancelled;
            if (cancelled())
                return false;
        }
        return true;
    }

    const OrderInput &m_in;
    OrderOutput &m_out;
    const BuildControl &m_control;
    // The order being sorted: the input's, or one being prepared.
    ListOrder m_order;
    // The lines sorted: the input's, or for "A to Z" ahead of a switch, the
    // more that the switch gave.
    const TextStore::View *m_lines = &m_in.lines;
    // Set when the work at hand is to stop: once cancelled, or preparing an
    // order, once that order is left.
    const std::atomic<bool> *m_stop = &m_control.cancelled;
};

} // namespace

bool buildOrder(const OrderInput &input, OrderOutput &output, const BuildControl &control)
{
    return Builder(input, output, control).run();
}

bool linePrecedes(
    ListOrder order, const TextStore::View &lines, const quint32 *ranks, quint32 a, quint32 b)
{
    if (isRankedOrder(order)) {
        if (ranks[a] != ranks[b])
            return ranks[a] < ranks[b];
    } else if (order == ListOrder::AToZ) {
        const int compared = detail::compareIgnoringAsciiCase(lines.utf8(a), lines.utf8(b));
        if (compared != 0)
            return compared < 0;
    }
    return a < b;
}

} // namespace core
