// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/TextStore.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <functional>
#include <vector>

namespace core {

// The window's lists: rows of texts under N column headers (column 0 is the
// row's own text, column c its sub-item c), each row with a checked mark.
// Rows are addressed from 0 in the order shown; accessors throw core::Failure
// for a row that does not exist, the way the commands expect a vanished item
// to fail.
//
// The rows are kept in the order they were added ("as found") in a compact
// store; another order is a permutation over them. Lines may be added
// without notifying the views (appendPending) and shown in one batch later,
// each in its place in the order. Lines belong to groups (the number each
// result line came from), which the ranking of "Best first" reads.
//
// The rows shown may be a subset of the stored lines (see setShownLines()
// and Order::BestNumberFirst): the permutation then lists only the lines
// shown. Every accessor, and so every command working by rows (removal,
// filters, save, copy, export, check counts), sees the shown rows only; a
// hidden line keeps its text, its check mark and its place, and shows again,
// once, when the subset changes back.
class ItemListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // BestNumberFirst shows one line per group: the line Best first puts
    // first among the group's shown lines, the groups ordered by the rank of
    // that line (ties in found order). A line arriving later takes its
    // group's row when it ranks before the line shown; a row removed leaves
    // its group without a row until the order is chosen again.
    enum class Order { AsFound, BestFirst, AToZ, BestNumberFirst };
    // The rank key of a line for "Best first" (smaller first), from its text
    // and the label of its group; equal keys keep the found order.
    using Rank = std::function<quint32(QStringView line, QStringView group)>;
    // Whether a stored line may be shown.
    using LineTest = std::function<bool(QStringView line)>;

    explicit ItemListModel(QStringList headers = {}, QObject *parent = nullptr);

    // The most rows a list holds; appending beyond fails with "Out of memory".
    static constexpr qsizetype MostRows = 2'000'000'000;

    // Whether the view shows each row's checked mark as a check box.
    void setUserCheckable(bool checkable) { m_userCheckable = checkable; }

    void setHeaders(const QStringList &headers);
    int columns() const { return int(m_headers.size()); }
    QString headerText(int column) const;

    int rows() const { return m_shown; }
    bool isEmpty() const { return m_shown == 0; }
    QString text(int row, int column = 0) const;
    // The row's own text as UTF-8.
    QByteArray textUtf8(int row) const;
    // What views show of a row's own text (its display role): the text, cut
    // after ShownCharacters characters and ended with an ellipsis. No row is
    // that wide, and laying out a line of millions of characters for a view
    // takes seconds and gigabytes.
    QString shownText(int row) const;
    static constexpr qsizetype ShownCharacters = 4096;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    int checkedRows() const;

    // Appending: one row, or a batch inside one insert notification.
    void append(const QString &text, bool checked = false);
    void appendRow(const QStringList &columnTexts, bool checked = false);
    void appendBatch(const QStringList &texts, bool checked);

    // Lines that follow belong to a group with this label.
    void startGroup(const QString &label);
    // Adds a line that the views learn of at the next showPending(). A
    // failure for lack of memory (std::bad_alloc, or core::Failure "Out of
    // memory") leaves the list as it was.
    void appendPending(QStringView text, bool checked);
    void appendPendingUtf8(QByteArrayView utf8, bool checked);
    // A pending line written in pieces (see TextStore::beginLine); clear()
    // drops a line begun, and endPendingLine() then returns false.
    void beginPendingLine(qsizetype utf8Size);
    void writePendingLine(QByteArrayView utf8);
    bool endPendingLine(bool checked);
    void dropPendingLine();
    bool hasPending() const { return m_store.size() > m_placed; }
    void showPending();

    void removeAt(int row);
    // Removes the given rows, which must be ascending and distinct. Runs of
    // neighbours go in one notification each; when the rows form many
    // separate runs, the list is compacted in one pass inside a model reset
    // instead (a view then loses its selection).
    void removeSorted(const QList<int> &ascendingRows);
    void clear();

    Order order() const { return m_order; }
    // Shows the rows in `order`; `rank` is needed for the ranked orders
    // (BestFirst, BestNumberFirst).
    void setOrder(Order order, Rank rank = {});
    static bool isRanked(Order order)
    {
        return order == Order::BestFirst || order == Order::BestNumberFirst;
    }

    // Shows only the lines `shown` accepts (all lines when it is empty), now
    // and as lines arrive; the views are reset. A failure for lack of memory
    // leaves the list as it was.
    void setShownLines(LineTest shown);
    // The lines shown before, taken in but not shown now.
    qsizetype hiddenLines() const { return m_placed - m_shown; }
    // The label of the group of a shown row.
    QString groupOfRow(int row) const;

    // The memory the list holds, and its lines, those still pending included.
    qsizetype bytesUsed() const;
    qsizetype storedLines() const { return m_store.size(); }

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct GroupRun
    {
        qsizetype first; // the first stored line of the run
        QString label;
    };

    void checkRow(int row) const;
    qsizetype stored(int row) const
    {
        return m_permutation.empty() ? row : qsizetype(m_permutation[std::size_t(row)]);
    }
    QStringView groupOf(qsizetype line) const;
    void appendStored(QStringView text, bool checked, QStringList subItems);
    void requireRoomForARow() const;
    static void makeRoomForSubItems(QList<QStringList> &subItems);
    bool before(quint32 a, quint32 b) const;
    bool before(Order order, const std::vector<quint32> &ranks, quint32 a, quint32 b) const;
    void computeRanks(qsizetype from);
    // Removes the stored lines whose `drop` flag is set, keeping everything
    // parallel to them in step. The caller notifies the views.
    void dropStored(const std::vector<char> &drop);
    void placePending();
    // The shown subset of the lines from `from` to `to` in found order, each
    // group's best only under BestNumberFirst.
    std::vector<quint32>
    shownSubset(Order order, const std::vector<quint32> &ranks, qsizetype from, qsizetype to) const;
    // Every shown line in `order`; empty when the rows are the stored lines.
    std::vector<quint32> arrangedLines(Order order, const std::vector<quint32> &ranks) const;
    // BestNumberFirst: removes the rows that lines of `added` outrank in
    // their group, and drops the lines of `added` that do not.
    void replaceOutrankedRows(std::vector<quint32> &added);
    qsizetype groupRunOf(qsizetype line) const;
    bool isPermuted(Order order) const { return order != Order::AsFound || bool(m_shownLine); }

    QStringList m_headers;
    TextStore m_store;
    QList<QStringList> m_subItems; // parallel to the store; empty while no row has any
    std::vector<GroupRun> m_groupRuns;
    int m_shown = 0;        // rows
    qsizetype m_placed = 0; // stored lines taken in, shown or hidden; the rest are pending
    LineTest m_shownLine;
    Order m_order = Order::AsFound;
    Rank m_rank;
    std::vector<quint32> m_permutation; // shown row -> stored line; empty when not permuted
    std::vector<quint32> m_ranks;       // per stored line, for Best first
    bool m_userCheckable = false;
};

} // namespace core
