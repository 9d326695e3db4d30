// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The orders an item list shows its rows in: a permutation over the stored
// lines, kept sorted as lines are added.

#include "core/ItemListModel.h"

#include <algorithm>
#include <new>

namespace core {

namespace {

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

} // namespace

// The new lines join the end of the list, then move to their places.
void ItemListModel::placePending()
{
    const auto total = int(m_store.size());
    if (isRanked(m_order))
        computeRanks(m_placed);
    std::vector<quint32> added = shownSubset(m_order, m_ranks, m_placed, total);
    m_permutation.reserve(m_permutation.size() + added.size());
    if (m_order == Order::BestNumberFirst)
        replaceOutrankedRows(added);
    m_placed = total;
    if (added.empty())
        return;
    beginInsertRows({}, m_shown, m_shown + int(added.size()) - 1);
    const auto oldEnd = std::ptrdiff_t(m_permutation.size());
    m_permutation.insert(m_permutation.end(), added.begin(), added.end());
    m_shown = int(m_permutation.size());
    endInsertRows();
    if (m_order == Order::AsFound)
        return; // the new lines follow every line shown

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Following the views' rows needs memory; without it the rows are still
    // sorted and the views told, and the failure goes on afterwards.
    QModelIndexList persistent;
    std::vector<quint32> lines;
    QModelIndexList moved;
    bool follow = true;
    try {
        persistent = persistentIndexList();
        lines.reserve(std::size_t(persistent.size()));
        moved.reserve(persistent.size());
        for (const QModelIndex &index : std::as_const(persistent))
            lines.push_back(m_permutation[std::size_t(index.row())]);
    } catch (const std::bad_alloc &) {
        follow = false;
    }
    const auto less = [this](quint32 a, quint32 b) {
        return before(a, b);
    };
    std::sort(m_permutation.begin() + oldEnd, m_permutation.end(), less);
    std::inplace_merge(
        m_permutation.begin(), m_permutation.begin() + oldEnd, m_permutation.end(), less);
    if (follow && !persistent.isEmpty()) {
        // The rows are in order: each line's new row is found by halving.
        for (qsizetype i = 0; i < persistent.size(); ++i) {
            const auto row = std::lower_bound(
                m_permutation.begin(), m_permutation.end(), lines[std::size_t(i)], less);
            moved.append(index(int(row - m_permutation.begin()), persistent.at(i).column()));
        }
        changePersistentIndexList(persistent, moved);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (!follow)
        throw std::bad_alloc();
}

bool ItemListModel::before(quint32 a, quint32 b) const
{
    return before(m_order, m_ranks, a, b);
}

bool ItemListModel::before(Order order,
                           const std::vector<quint32> &ranks,
                           quint32 a,
                           quint32 b) const
{
    if (isRanked(order)) {
        if (ranks[a] != ranks[b])
            return ranks[a] < ranks[b];
    } else if (order == Order::AToZ) {
        const int compared = compareIgnoringAsciiCase(m_store.utf8(a), m_store.utf8(b));
        if (compared != 0)
            return compared < 0;
    }
    return a < b;
}

void ItemListModel::computeRanks(qsizetype from)
{
    m_ranks.resize(std::size_t(m_store.size()));
    for (qsizetype line = from; line < m_store.size(); ++line)
        m_ranks[std::size_t(line)] = m_rank ? m_rank(m_store.text(line), groupOf(line)) : 0;
}

void ItemListModel::setOrder(Order order, Rank rank)
{
    showPending();
    if (order == m_order)
        return;
    // The new order is made aside first: a failure for lack of memory leaves
    // the list as it was, and the views are not told of a change.
    std::vector<quint32> ranks;
    if (isRanked(order)) {
        ranks.resize(std::size_t(m_store.size()));
        for (qsizetype line = 0; line < m_store.size(); ++line)
            ranks[std::size_t(line)] = rank ? rank(m_store.text(line), groupOf(line)) : 0;
    }
    std::vector<quint32> permutation = arrangedLines(order, ranks);
    if (order == Order::BestNumberFirst || m_order == Order::BestNumberFirst) {
        // Other rows are shown, not only another order of them.
        beginResetModel();
        m_order = order;
        m_rank = std::move(rank);
        m_permutation.swap(permutation);
        m_ranks.swap(ranks);
        m_shown = isPermuted(m_order) ? int(m_permutation.size()) : int(m_placed);
        endResetModel();
        return;
    }
    std::vector<quint32> rowOf(static_cast<std::size_t>(m_placed));

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QModelIndexList persistent;
    std::vector<quint32> lines;
    QModelIndexList moved;
    bool follow = true;
    try {
        persistent = persistentIndexList();
        lines.reserve(std::size_t(persistent.size()));
        moved.reserve(persistent.size());
        for (const QModelIndex &index : std::as_const(persistent))
            lines.push_back(quint32(stored(index.row())));
    } catch (const std::bad_alloc &) {
        follow = false;
    }
    m_order = order;
    m_rank = std::move(rank);
    m_permutation.swap(permutation);
    m_ranks.swap(ranks);
    if (follow && !persistent.isEmpty()) {
        for (std::size_t row = 0; row < rowOf.size(); ++row)
            rowOf[stored(int(row))] = quint32(row);
        for (qsizetype i = 0; i < persistent.size(); ++i)
            moved.append(index(int(rowOf[lines[std::size_t(i)]]), persistent.at(i).column()));
        changePersistentIndexList(persistent, moved);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (!follow)
        throw std::bad_alloc();
}

std::vector<quint32> ItemListModel::arrangedLines(Order order,
                                                  const std::vector<quint32> &ranks) const
{
    if (!isPermuted(order))
        return {};
    std::vector<quint32> lines = shownSubset(order, ranks, 0, m_placed);
    if (isRanked(order)) {
        // Rank and found position in one word: a plain sort of numbers.
        std::vector<quint64> keyed(lines.size());
        for (std::size_t i = 0; i < keyed.size(); ++i)
            keyed[i] = quint64(ranks[lines[i]]) << 32 | lines[i];
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t row = 0; row < keyed.size(); ++row)
            lines[row] = quint32(keyed[row]);
    } else if (order == Order::AToZ) {
        std::sort(lines.begin(), lines.end(), [&](quint32 a, quint32 b) {
            return before(order, ranks, a, b);
        });
    }
    return lines;
}

} // namespace core
