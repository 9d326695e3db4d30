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
    BigVector<quint32> newIndex(static_cast<std::size_t>(count));
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

void ItemListModel::dropStoredLine(qsizetype line, int row)
{
    for (GroupRun &run : m_groupRuns)
        if (run.first > line)
            --run.first;
    m_store.removeLine(line);
    if (!m_subItems.isEmpty())
        m_subItems.removeAt(line);
    if (std::size_t(line) < m_ranks.size())
        m_ranks.erase(m_ranks.begin() + std::ptrdiff_t(line));
    if (std::size_t(row) < m_permutation.size()) {
        m_permutation.erase(m_permutation.begin() + row);
        for (quint32 &shown : m_permutation)
            shown -= shown > quint32(line) ? 1 : 0;
    }
    m_placed -= line < m_placed ? 1 : 0;
    m_shown = isPermuted() ? int(m_permutation.size()) : int(m_placed);
    ++m_removals;
}

// The rows the given stored lines are shown in, ascending; lines not shown
// are left out.
QList<int> ItemListModel::rowsOfStored(BigVector<quint32> lines) const
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
    if (row >= m_shown || stored(row) != qsizetype(line)) {
        const QList<int> rows = rowsOfStored({line});
        if (rows.isEmpty())
            return; // no longer shown ("Best number first" shows a better line)
        row = rows.front();
    }
    stopBuild();
    beginRemoveRows({}, row, row);
    dropStoredLine(line, row);
    endRemoveRows();
    resumeBuild();
}

void ItemListModel::removeSorted(const QList<int> &rowsShown)
{
    BigVector<quint32> lines;
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
    BigVector<quint32>().swap(m_permutation);
    BigVector<quint32>().swap(m_ranks);
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

// Under a subset of lines (or "Best number first"), hidden lines stay: only
// the rows shown, and the lines to come that the test lets through, go.
void ItemListModel::keepHiddenLines(std::vector<char> &drop) const
{
    if (!isPermuted() || !(m_shownLine || m_order == Order::BestNumberFirst))
        return;
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

// A few shown rows of a short list go row by row, so the views keep their
// selection; true when they went that way (or none is to go). On a long list
// each run of rows would move every line after it, in one step.
bool ItemListModel::removeFewRows(const std::vector<char> &drop)
{
    constexpr std::size_t FewRows = 1024;
    const auto dropped = std::size_t(std::count(drop.begin(), drop.end(), char(1)));
    if (dropped == 0)
        return true;
    if (dropped > FewRows || hasPending() || m_store.size() > OrderAtOnceLines)
        return false;
    QList<int> rows;
    rows.reserve(qsizetype(dropped));
    for (int row = 0; row < m_shown && std::size_t(rows.size()) < dropped; ++row)
        if (drop[std::size_t(stored(row))])
            rows.append(row);
    removeSorted(rows);
    return true;
}

void ItemListModel::removeStored(std::vector<char> drop)
{
    drop.resize(std::size_t(m_store.size()), 0);
    keepHiddenLines(drop);
    if (removeFewRows(drop))
        return;
    stopBuild();
    beginResetModel();
    dropStored(drop);
    endResetModel();
    resumeBuild();
}

bool ItemListModel::removeStoredInSteps(std::vector<char> drop, const std::function<void()> &yield)
{
    drop.resize(std::size_t(m_store.size()), 0);
    keepHiddenLines(drop);
    if (removeFewRows(drop))
        return true;
    // The kept lines are copied to a new store step by step, lines added
    // meanwhile included; the list changes once they all are.
    const quint64 removals = m_removals;
    const quint64 checkChanges = m_checkChanges;
    TextStore kept;
    // Stored line -> the kept lines before it, flagged when the line goes.
    constexpr quint32 Goes = quint32(1) << 31;
    BigVector<quint32> place;
    // The rows of an order, their lines renumbered, while no row changes.
    const quint64 rowChanges = m_rowChanges;
    const std::size_t orderedRows = m_permutation.size();
    BigVector<quint32> rows;
    std::size_t rowsDone = 0;
    try {
        place.reserve(std::size_t(m_store.size()) + 1);
        rows.reserve(orderedRows);
        for (qsizetype line = 0;;) {
            const qsizetype end = std::min(m_store.size(), line + LinesPerThinningStep);
            for (; line < end; ++line) {
                const bool goes = std::size_t(line) < drop.size() && drop[std::size_t(line)];
                place.push_back(quint32(kept.size()) | (goes ? Goes : 0));
                if (!goes)
                    kept.appendUtf8(m_store.utf8(line), m_store.isChecked(line));
            }
            if (line == m_store.size()) {
                if (rowsDone == orderedRows || m_rowChanges != rowChanges)
                    break;
                const std::size_t last =
                    std::min(orderedRows, rowsDone + std::size_t(LinesPerThinningStep));
                for (; rowsDone < last; ++rowsDone) {
                    const quint32 to = place[m_permutation[rowsDone]];
                    if ((to & Goes) == 0)
                        rows.push_back(to);
                }
            }
            if (yield)
                yield();
            if (m_removals != removals)
                return false; // the caller reads the lines again
        }
        place.push_back(quint32(kept.size()));
        kept.takeOpenLine(m_store);
    } catch (const std::bad_alloc &) {
        removeStored(std::move(drop)); // in place, in one step
        return true;
    } catch (const Failure &) {
        removeStored(std::move(drop));
        return true;
    }
    std::vector<char>().swap(drop);
    const auto newPlace = [&place](qsizetype line) {
        return place[std::min(std::size_t(line), place.size() - 1)] & ~Goes;
    };
    const auto stays = [&place](std::size_t line) {
        return (place[line] & Goes) == 0;
    };
    // Marks set meanwhile are copied again.
    if (m_checkChanges != checkChanges)
        for (qsizetype line = 0; line < m_store.size(); ++line)
            if (stays(std::size_t(line)))
                kept.setChecked(newPlace(line), m_store.isChecked(line));

    stopBuild();
    beginResetModel();
    for (GroupRun &run : m_groupRuns)
        run.first = newPlace(run.first);
    if (!m_subItems.isEmpty()) {
        QList<QStringList> subItems;
        subItems.reserve(kept.size());
        for (qsizetype line = 0; line < m_subItems.size(); ++line)
            if (stays(std::size_t(line)))
                subItems.append(std::move(m_subItems[line]));
        m_subItems = std::move(subItems);
    }
    // A line's new place is never after its old one, and a dropped line's
    // place is taken by the next kept line: one pass in order moves them.
    if (!m_ranks.empty()) {
        for (std::size_t line = 0; line < m_ranks.size(); ++line)
            m_ranks[newPlace(qsizetype(line))] = m_ranks[line];
        m_ranks.resize(newPlace(qsizetype(m_ranks.size())));
    }
    // The rows of an order visit the lines at random: the places of rows
    // ahead are fetched while this one is done.
    if (rowsDone == orderedRows && m_rowChanges == rowChanges
        && m_permutation.size() == orderedRows) {
        m_permutation = std::move(rows);
    } else if (!m_permutation.empty()) {
        constexpr std::size_t Ahead = 16;
        const std::size_t rows = m_permutation.size();
        std::size_t to = 0;
        for (std::size_t row = 0; row < rows; ++row) {
            if (row + Ahead < rows)
                __builtin_prefetch(&place[m_permutation[row + Ahead]]);
            const quint32 line = place[m_permutation[row]];
            if ((line & Goes) == 0)
                m_permutation[to++] = line;
        }
        m_permutation.resize(to);
    }
    m_placed = newPlace(m_placed);
    m_store = std::move(kept);
    m_shown = isPermuted() ? int(m_permutation.size()) : int(m_placed);
    ++m_removals;
    endResetModel();
    resumeBuild();
    return true;
}

} // namespace core
