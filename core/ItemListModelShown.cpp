// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Which stored lines an item list shows: those its line test accepts, and
// under "Best number first" only the best of each group.

#include "core/ItemListModel.h"

#include <algorithm>

namespace core {

void ItemListModel::setShownLines(LineTest shown)
{
    showPending();
    LineTest before = std::exchange(m_shownLine, std::move(shown));
    std::vector<quint32> permutation;
    try {
        permutation = arrangedLines(m_order, m_ranks);
    } catch (...) {
        m_shownLine = std::move(before);
        throw;
    }
    beginResetModel();
    m_permutation.swap(permutation);
    m_shown = isPermuted(m_order) ? int(m_permutation.size()) : int(m_placed);
    endResetModel();
}

QString ItemListModel::groupOfRow(int row) const
{
    checkRow(row);
    return groupOf(stored(row)).toString();
}

qsizetype ItemListModel::groupRunOf(qsizetype line) const
{
    const auto after = std::upper_bound(
        m_groupRuns.begin(), m_groupRuns.end(), line, [](qsizetype l, const GroupRun &run) {
            return l < run.first;
        });
    return after - m_groupRuns.begin() - 1; // -1: before the first group
}

std::vector<quint32> ItemListModel::shownSubset(Order order,
                                                const std::vector<quint32> &ranks,
                                                qsizetype from,
                                                qsizetype to) const
{
    std::vector<quint32> lines;
    qsizetype lastRun = -2;
    for (qsizetype line = from; line < to; ++line) {
        if (m_shownLine && !m_shownLine(m_store.text(line)))
            continue;
        if (order == Order::BestNumberFirst) {
            // A group's lines are neighbours in the store.
            const qsizetype run = groupRunOf(line);
            if (run == lastRun) {
                if (before(order, ranks, quint32(line), lines.back()))
                    lines.back() = quint32(line);
                continue;
            }
            lastRun = run;
        }
        lines.push_back(quint32(line));
    }
    return lines;
}

void ItemListModel::replaceOutrankedRows(std::vector<quint32> &added)
{
    if (added.empty() || m_permutation.empty())
        return;
    // Only the groups from the first added line's on can have a row already.
    const qsizetype firstRun = groupRunOf(added.front());
    const qsizetype firstLine = firstRun < 0 ? 0 : m_groupRuns[std::size_t(firstRun)].first;
    std::vector<std::pair<qsizetype, int>> rowOfRun;
    for (int row = 0; row < m_shown; ++row) {
        const quint32 line = m_permutation[std::size_t(row)];
        if (line >= firstLine)
            rowOfRun.emplace_back(groupRunOf(line), row);
    }
    std::vector<int> outranked;
    std::erase_if(added, [&](quint32 line) {
        const qsizetype run = groupRunOf(line);
        const auto shown = std::find_if(rowOfRun.begin(), rowOfRun.end(), [run](const auto &entry) {
            return entry.first == run;
        });
        if (shown == rowOfRun.end())
            return false;
        if (!before(m_order, m_ranks, line, m_permutation[std::size_t(shown->second)]))
            return true;
        outranked.push_back(shown->second);
        return false;
    });
    std::sort(outranked.begin(), outranked.end(), std::greater<>());
    for (const int row : outranked) {
        beginRemoveRows({}, row, row);
        m_permutation.erase(m_permutation.begin() + row);
        m_shown = int(m_permutation.size());
        endRemoveRows();
    }
}

} // namespace core
