// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ListOrder.h"
#include "core/TextStore.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <functional>
#include <memory>
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
//
// On a long list, ordering and choosing the subset run on a worker thread:
// the views see the old rows, and new lines wait, until the new ones are
// ready. Removing, clearing or showing every line at once stops that work
// and starts it again after.
class ItemListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Order = ListOrder;
    using Rank = LineRank;
    using LineTest = ShownLineTest;

    explicit ItemListModel(QStringList headers = {}, QObject *parent = nullptr);
    ~ItemListModel() override;

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
    // Shows every pending line in its place now.
    void showPending();
    // Shows the pending lines when their places are found: at once as found
    // and on short lists, else once a worker has placed them.
    void showPendingSoon();

    // Removing rows as shown now: the lines they show are removed even when
    // pending lines are placed first and move them.
    void removeAt(int row);
    // Removes the given rows, which must be ascending and distinct. Runs of
    // neighbours go in one notification each; when the rows form many
    // separate runs, the list is compacted in one pass inside a model reset
    // instead (a view then loses its selection).
    void removeSorted(const QList<int> &rowsShown);
    void clear();
    // Removes the stored lines flagged in `drop` (pending ones included;
    // lines past its end stay) in one change of the list.
    void removeStored(std::vector<char> drop);
    // The same, the kept lines copied to a new store in steps with `yield`
    // called between them (lines added meanwhile join them), so that the list
    // changes in one short step at the end. Returns false, the list unchanged,
    // when lines were removed meanwhile: `drop` may no longer fit them.
    bool removeStoredInSteps(std::vector<char> drop, const std::function<void()> &yield);

    // The UTF-8 of stored line `line` (0 to storedLines() - 1, in the order
    // found, pending lines included), valid until the list changes.
    QByteArrayView storedUtf8(qsizetype line) const { return m_store.utf8(line); }
    // Counts the changes that remove lines: a command that yields between
    // steps knows by it whether the stored lines it read are still there.
    quint64 removals() const { return m_removals; }

    // The order shown, and the order asked for, which a worker may still be
    // building.
    Order order() const { return m_order; }
    Order wantedOrder() const { return m_wanted; }
    // Whether a worker is building an order or placing lines (not only
    // ranking and sorting them ahead of a switch no one asked for yet).
    bool isOrdering() const
    {
        return m_build && (!m_build->input().rankingOnly || m_build->isHurried());
    }
    // Whether a worker is ranking lines and sorting them ahead of a switch.
    bool isPreparing() const { return (m_build && m_build->input().rankingOnly) || m_sideBuild; }
    // Shows the rows in `order` (at once on a short list or as found);
    // `rank` is needed for the ranked orders (BestFirst, BestNumberFirst).
    // The ranks of lines are computed once and kept while the list keeps its
    // lines.
    void setOrder(Order order, Rank rank = {});
    static bool isRanked(Order order) { return isRankedOrder(order); }
    // Sets the ranking of "Best first"; the ranks computed so far are dropped.
    void setRank(Rank rank);
    // Waits for the order being built and shows it.
    void finishOrdering();

    // Shows only the lines `shown` accepts (all lines when it is empty), now
    // and as lines arrive; the views are reset once the new rows are ready
    // (at once on a short list). A failure for lack of memory leaves the list
    // as it was. The test may be called on the worker thread.
    void setShownLines(LineTest shown);
    // The lines taken in but not shown now.
    qsizetype hiddenLines() const { return m_placed - m_shown; }
    // The label of the group of a shown row.
    QString groupOfRow(int row) const;

    // Lists up to this many lines are ordered at once.
    static constexpr qsizetype OrderAtOnceLines = 65'536;

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

Q_SIGNALS:
    // The order asked for is shown, or could not be built for lack of
    // memory (the list keeps the order it shows).
    void orderShown();
    void orderFailed();
    // The lines asked for by setShownLines() could not be chosen for lack of
    // memory; the list keeps the rows it shows.
    void shownLinesFailed();

private:
    using GroupRun = LineGroup;

    void checkRow(int row) const;
    // Rows past the permutation are lines joining the end before they move
    // to their places (or, under a subset, rows about to get their lines).
    QList<int> rowsOfStored(BigVector<quint32> lines) const;
    qsizetype stored(int row) const
    {
        return std::size_t(row) < m_permutation.size() ? qsizetype(m_permutation[std::size_t(row)])
                                                       : row;
    }
    QStringView groupOf(qsizetype line) const;
    void appendStored(QStringView text, bool checked, QStringList subItems);
    void requireRoomForARow() const;
    static void makeRoomForSubItems(QList<QStringList> &subItems);
    bool isPermuted(Order order, const LineTest &shown) const
    {
        return order != Order::AsFound || bool(shown);
    }
    bool isPermuted() const { return isPermuted(m_order, m_shownLine); }
    OrderInput orderInput(Order order, bool placing) const;
    // Builds on this thread, to the end.
    void buildAtOnce(Order order, bool placing, OrderOutput &output) const;
    void startBuild(Order order, bool placing);
    std::function<void()> finishedSoon();
    // Starts building `order` for a switch, from its prepared order when
    // there is one.
    void startSwitch(Order order);
    void startSideBuild(Order switchedTo);
    void settleSideBuild();
    void takeOverSideBuild();
    // The prepared orders, dropped first when lines were removed since.
    PreparedOrders &preparedOrders();
    bool needsPreparing() const;
    void stopBuild();
    void stopMainBuild();
    void stopSideBuild();
    // Takes over the ranks a build computed.
    void keepRanks(OrderOutput &output);
    void resumeBuild();
    void buildFinished();
    void install(Order order, qsizetype lines, OrderOutput &output, bool retested);
    void abandonWanted();
    void showAsFound();
    // Removes the stored lines whose `drop` flag is set, keeping everything
    // parallel to them in step. The caller notifies the views.
    void dropStored(const std::vector<char> &drop);
    // The same for the one stored line that shown row `row` shows, without a
    // pass over every line.
    void dropStoredLine(qsizetype line, int row);
    void keepHiddenLines(std::vector<char> &drop) const;
    bool removeFewRows(const std::vector<char> &drop);
    // Lines copied between two yields when thinning a list.
    static constexpr qsizetype LinesPerThinningStep = 16'384;

    QStringList m_headers;
    TextStore m_store;
    QList<QStringList> m_subItems; // parallel to the store; empty while no row has any
    std::vector<GroupRun> m_groupRuns;
    int m_shown = 0;          // rows
    qsizetype m_placed = 0;   // stored lines taken in, shown or hidden; the rest are pending
    LineTest m_shownLine;     // of the rows shown
    LineTest m_wantedLine;    // asked for, when m_retesting
    bool m_retesting = false; // another subset is being chosen
    Order m_order = Order::AsFound;
    Order m_wanted = Order::AsFound;
    Rank m_rank;
    BigVector<quint32> m_permutation; // shown row -> stored line; empty when not permuted
    BigVector<quint32> m_ranks;       // of the first stored lines, for Best first
    BigVector<quint32> m_spareRows;   // memory of rows replaced, for the next placing
    // "Best first" and "A to Z" kept sorted ahead of a switch while the list
    // shows "As found"; valid while no line is removed.
    PreparedOrders m_prepared;
    quint64 m_preparedRemovals = 0;
    std::unique_ptr<OrderBuild> m_build;
    // Extends one prepared order beside m_build, or until m_build takes it
    // over; never beside work that touches what it reads or writes.
    std::unique_ptr<OrderBuild> m_sideBuild;
    bool m_userCheckable = false;
    quint64 m_removals = 0;
    quint64 m_checkChanges = 0; // marks set through setChecked()
    quint64 m_rowChanges = 0;   // notifications of changed rows
};

} // namespace core
