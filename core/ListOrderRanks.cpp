// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ListOrderRanks.h"

#include <algorithm>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace core::detail {

bool LineRanker::rankLines()
{
    const qsizetype count = m_in.lines.size();
    const qsizetype unranked = std::max<qsizetype>(0, count - m_in.ranked);
    // Ranking more lines than are ranked, or more than the list has room
    // for, the ranks of all lines are given, the known ones copied here
    // with room to grow: the list then takes them over without copying
    // millions on its own thread.
    if (unranked > m_in.ranked || count > m_in.ranksRoom) {
        m_out.ranksFrom = 0;
        m_out.ranks.reserve(std::size_t(count + count / 2));
        m_out.ranks.resize(std::size_t(count));
        std::copy(m_in.ranks, m_in.ranks + m_in.ranked, m_out.ranks.begin());
    } else {
        m_out.ranksFrom = m_in.ranked;
        m_out.ranks.resize(std::size_t(unranked));
        // The list copies these ranks into its room on its own thread: the
        // room's fresh pages are faulted in here.
        faultInPages(m_in.ranks + m_in.ranked, std::size_t(unranked) * sizeof(quint32));
    }
    if (!m_in.rankingOnly)
        return rankInParallel(m_in.ranked);
    // Ahead of a switch, at idle priority, one thread ranks, a piece at a
    // time; once the switch is asked for, every core ranks the rest.
    constexpr qsizetype Piece = qsizetype(1) << 16;
    for (qsizetype from = m_in.ranked; from < count; from += Piece) {
        const int wanted = m_control.hurried.load(std::memory_order_relaxed);
        // "A to Z" needs no ranks: the rest are ranked when "Best first"
        // is next prepared or asked for.
        if (wanted == int(ListOrder::AToZ)) {
            m_out.ranks.resize(std::size_t(from - m_out.ranksFrom));
            return true;
        }
        if (wanted >= 0 && count - from > 2 * Piece)
            return rankInParallel(from);
        qsizetype done = 0;
        bool ranked = false;
        try {
            ranked = rankRange(from, std::min(from + Piece, count), done);
        } catch (const std::bad_alloc &) {
        }
        if (!ranked) {
            m_out.ranks.resize(std::size_t(from - m_out.ranksFrom + done));
            if (!cancelled())
                throw std::bad_alloc();
            return false;
        }
    }
    return true;
}

bool LineRanker::rankInParallel(qsizetype first)
{
    const qsizetype unranked = m_in.lines.size() - first;
    constexpr qsizetype LinesPerThread = qsizetype(1) << 18;
    const qsizetype threads = std::clamp<qsizetype>(
        unranked / LinesPerThread, 1, std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::thread> helpers;
    std::atomic<bool> failed{false};
    // How many lines of each part are ranked: a part that stops early
    // leaves the ranks after it out.
    std::vector<qsizetype> done(std::size_t(threads), 0);
    const auto partBegin = [&](qsizetype part) {
        return first + unranked * part / threads;
    };
    const auto rankPart = [&](qsizetype part) {
        try {
            if (!rankRange(partBegin(part), partBegin(part + 1), done[std::size_t(part)]))
                failed.store(true);
        } catch (const std::bad_alloc &) {
            failed.store(true);
        }
    };
    try {
        for (qsizetype part = 1; part < threads; ++part)
            helpers.emplace_back(rankPart, part);
    } catch (const std::system_error &) {
        // Fewer threads: this one ranks what is left.
    }
    const auto helped = qsizetype(helpers.size());
    for (qsizetype part = helped + 1; part < threads; ++part)
        rankPart(part);
    rankPart(0);
    for (std::thread &helper : helpers)
        helper.join();
    if (!failed.load())
        return true;
    // Keep the ranks of the lines ranked without a gap.
    qsizetype kept = 0;
    for (qsizetype part = 0; part < threads; ++part) {
        kept += done[std::size_t(part)];
        if (partBegin(part) + done[std::size_t(part)] < partBegin(part + 1))
            break;
    }
    m_out.ranks.resize(std::size_t(first - m_out.ranksFrom + kept));
    if (!cancelled())
        throw std::bad_alloc();
    return false;
}

bool LineRanker::rankRange(qsizetype from, qsizetype to, qsizetype &done)
{
    const LineRank rank = m_in.rank;
    // The group of `from`: the last that begins at or before it.
    auto group = std::upper_bound(
        m_in.groups.begin(), m_in.groups.end(), from, [](qsizetype line, const LineGroup &g) {
            return line < g.first;
        });
    if (group != m_in.groups.begin())
        --group;
    // A rank costs about a tenth of a microsecond: a cancel is seen
    // within a millisecond.
    constexpr qsizetype RankCancelStride = 1 << 12;
    QString text;
    // Counted here, told at the end: threads ranking side by side would
    // otherwise write to one cache line for every line.
    qsizetype line = from;
    try {
        for (; line < to; ++line) {
            if ((line & (RankCancelStride - 1)) == 0 && cancelled())
                break;
            while (std::next(group) < m_in.groups.end() && std::next(group)->first <= line)
                ++group;
            const QStringView label = group < m_in.groups.end() && group->first <= line
                                          ? QStringView(group->label)
                                          : QStringView();
            m_out.ranks[std::size_t(line - m_out.ranksFrom)] =
                rank ? (m_in.lines.readText(line, text), rank(text, label)) : 0;
        }
    } catch (const std::bad_alloc &) {
        done = line - from;
        throw;
    }
    done = line - from;
    return line == to;
}

} // namespace core::detail
