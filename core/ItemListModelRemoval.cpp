// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Removing lines from an item list: one row, sorted rows, flagged stored
// lines, or all of them, keeping the order shown and the lines pending.

#include "core/Failure.h"
#include "core/ItemListModel.h"

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace core {

void ItemListModel::dropStored(const std::vector<char> &drop)
{
    const qsizetype count = m_store.size();
    // Where each kept line goes, for the permutation and the group runs.
    std::vector<quint32> newIndex(static_cast<std::size_t>(count));
    quint32 kept = 0;
    qsizetype droppedPlaced = 0;
    for (qsizetype line = 0; line < count; ++line) {
        newIndex[std::size_t(line)] = kept;
        if (drop[std::size_t(line)])
            droppedPlaced += line < m_placed ? 1 : 0;
        else
            ++kept;
    }
    // The one allocation comes before anything changes.
    QList<QStringList> subItems;
    if (!m_subItems.isEmpty())
        subItems.reserve(kept);
    for (GroupRun &run : m_groupRuns)
        run.first = run.first < count ? newIndex[std::size_t(run.first)] : kept;
    m_store.keepIf([&drop](qsizetype line) {
        return !drop[std::size_t(line)];
    });
    if (!m_subItems.isEmpty()) {
        for (qsizetype line = 0; line < count; ++line)
            if (!drop[std::size_t(line)])
                subItems.append(std::move(m_subItems[line]));
        m_subItems = std::move(subItems);
    }
    if (!m_ranks.empty()) {
        std::size_t to = 0;
        for (std::size_t line = 0; line < m_ranks.size(); ++line)
            if (!drop[line])
                m_ranks[to++] = m_ranks[line];
        m_ranks.resize(to);
    }
    if (!m_permutation.empty()) {
        std::size_t to = 0;
        for (const quint32 line : m_permutation)
            if (!drop[line])
                m_permutation[to++] = newIndex[line];
        m_permutation.resize(to);
    }
    m_placed -= droppedPlaced;
    m_shown = isPermuted() ? int(m_permutation.size()) : int(m_placed);
    ++m_removals;
}

// The rows the given stored lines are shown in, ascending; lines not shown
// are left out.
QList<int> ItemListModel::rowsOfStored(std::vector<quint32> lines) const
{
    std::sort(lines.begin(), lines.end());
    QList<int> rows;
    const auto wanted = [&lines](quint32 line) {
        return std::binary_search(lines.begin(), lines.end(), line);
    };
    if (!isPermuted()) {
        for (const quint32 line : lines)
            if (line < quint32(m_shown))
                rows.append(int(line));
        return rows;
    }
    for (int row = 0; row < m_shown; ++row)
        if (wanted(m_permutation[std::size_t(row)]))
            rows.append(row);
    return rows;
}

void ItemListModel::removeAt(int row)
{
    // The row's line: placing the pending lines may move it.
    checkRow(row);
    const auto line = quint32(stored(row));
    showPending();
    const QList<int> rows = rowsOfStored({line});
    if (rows.isEmpty())
        return; // no longer shown ("Best number first" shows a better line)
    row = rows.front();
    stopBuild();
    std::vector<char> drop(std::size_t(m_store.size()), 0);
    drop[std::size_t(stored(row))] = 1;
    beginRemoveRows({}, row, row);
    dropStored(drop);
    endRemoveRows();
    resumeBuild();
}

void ItemListModel::removeSorted(const QList<int> &rowsShown)
{
    std::vector<quint32> lines;
    lines.reserve(std::size_t(rowsShown.size()));
    for (qsizetype i = 0; i < rowsShown.size(); ++i) {
        checkRow(rowsShown.at(i));
        if (i > 0 && rowsShown.at(i - 1) >= rowsShown.at(i))
            throw Failure(u"Invalid procedure call or argument"_s);
        lines.push_back(quint32(stored(rowsShown.at(i))));
    }
    // The rows' lines: placing the pending lines may move them.
    showPending();
    const QList<int> ascendingRows = rowsOfStored(std::move(lines));
    // Beyond a few runs, removing run by run moves the tail of the list once
    // per run (and a view relayouts once per run): quadratic on big lists.
    constexpr qsizetype MaxSeparateRuns = 16;
    stopBuild();
    QList<std::pair<int, int>> runs; // first, last
    for (const int row : ascendingRows) {
        if (!runs.isEmpty() && runs.last().second == row - 1)
            runs.last().second = row;
        else
            runs.append({row, row});
    }
    if (runs.size() > MaxSeparateRuns) {
        std::vector<char> drop(std::size_t(m_store.size()), 0);
        for (const int row : ascendingRows)
            drop[std::size_t(stored(row))] = 1;
        beginResetModel();
        dropStored(drop);
        endResetModel();
        resumeBuild();
        return;
    }
    // From the last run up, so that the rows still to remove stay where they are.
    for (qsizetype i = runs.size() - 1; i >= 0; --i) {
        const auto [first, last] = runs.at(i);
        std::vector<char> drop(std::size_t(m_store.size()), 0);
        for (int row = first; row <= last; ++row)
            drop[std::size_t(stored(row))] = 1;
        beginRemoveRows({}, first, last);
        dropStored(drop);
        endRemoveRows();
    }
    resumeBuild();
}

void ItemListModel::clear()
{
    // Lines still to come from the current group (a run goes on after the
    // list was cleared) stay in it.
    stopBuild();
    if (!m_groupRuns.empty())
        m_groupRuns = {GroupRun{0, m_groupRuns.back().label}};
    if (m_store.isEmpty()) {
        resumeBuild();
        return;
    }
    beginResetModel();
    ++m_removals;
    m_store.clear();
    m_subItems.clear();
    std::vector<quint32>().swap(m_permutation);
    std::vector<quint32>().swap(m_ranks);
    m_shown = 0;
    m_placed = 0;
    const bool switched = m_wanted != m_order;
    m_order = m_wanted;
    if (m_retesting) {
        m_shownLine = std::exchange(m_wantedLine, {});
        m_retesting = false;
    }
    endResetModel();
    if (switched)
        Q_EMIT orderShown();
}

void ItemListModel::removeStored(std::vector<char> drop)
{
    drop.resize(std::size_t(m_store.size()), 0);
    if (isPermuted() && (m_shownLine || m_order == Order::BestNumberFirst)) {
        // Lines hidden stay: only the rows shown, and the lines to come that
        // the test lets through, go.
        std::vector<char> shown(std::size_t(m_placed), 0);
        for (const quint32 line : m_permutation)
            shown[line] = 1;
        for (qsizetype line = 0; line < m_store.size(); ++line) {
            char &flag = drop[std::size_t(line)];
            if (flag && line < m_placed)
                flag = shown[std::size_t(line)];
            else if (flag && m_shownLine)
                flag = m_shownLine(m_store.text(line)) ? 1 : 0;
        }
    }
    const auto dropped = std::size_t(std::count(drop.begin(), drop.end(), char(1)));
    if (dropped == 0)
        return;
    // A few shown rows go row by row, so the views keep their selection.
    constexpr std::size_t FewRows = 1024;
    if (dropped <= FewRows && !hasPending()) {
        QList<int> rows;
        rows.reserve(qsizetype(dropped));
        for (int row = 0; row < m_shown && std::size_t(rows.size()) < dropped; ++row)
            if (drop[std::size_t(stored(row))])
                rows.append(row);
        removeSorted(rows);
        return;
    }
    stopBuild();
    beginResetModel();
    dropStored(drop);
    endResetModel();
    resumeBuild();
}

} // namespace core
