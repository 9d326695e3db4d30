// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The orders an item list shows its rows in: a permutation over the stored
// lines, built at once on a short list and by a worker on a long one, and
// kept sorted as lines are added.

#include "core/ItemListModel.h"

#include <algorithm>
#include <new>
#include <thread>
#include <utility>

namespace core {

namespace {

// Never set: work done on the list's own thread runs to its end.
const BuildControl NotCancelled;

// Whether `side`, extending one prepared order, may go on beside `main`: it
// must not touch what the main build works on, nor read ranks that the main
// build replaces.
bool mayRunBeside(const OrderInput &side, const OrderInput &main)
{
    return side.onlyOrder && !main.rankingOnly && main.order != *side.onlyOrder
           && !(side.rank && isRankedOrder(main.order));
}

} // namespace

ItemListModel::~ItemListModel()
{
    // The workers read the store: they end first.
    m_sideBuild.reset();
    m_build.reset();
}

OrderInput ItemListModel::orderInput(Order order, bool placing) const
{
    OrderInput input;
    input.order = order;
    input.lines = m_store.view(m_store.size());
    input.ranks = m_ranks.data();
    input.ranked = qsizetype(m_ranks.size());
    input.ranksRoom = qsizetype(m_ranks.capacity());
    input.rank = m_rank;
    // A placing build keeps the lines shown; a switch chooses them anew.
    input.shown = !placing && m_retesting ? m_wantedLine : m_shownLine;
    if (placing) {
        input.placed = &m_permutation;
        input.placedLines = m_placed;
    }
    // The groups of the lines still to rank, and under "Best number first"
    // those of the lines still to place.
    qsizetype from = input.ranked;
    if (order == Order::BestNumberFirst)
        from = placing ? std::min(from, m_placed) : 0;
    for (std::size_t i = 0; i < m_groupRuns.size(); ++i)
        if (i + 1 == m_groupRuns.size() || m_groupRuns[i + 1].first > from)
            input.groups.push_back(m_groupRuns[i]);
    input.rankingOnly = order == Order::AsFound && !input.shown;
    if (input.rankingOnly)
        input.prepared = &const_cast<ItemListModel *>(this)->preparedOrders();
    return input;
}

PreparedOrders &ItemListModel::preparedOrders()
{
    if (m_preparedRemovals != m_removals) {
        m_prepared.clear();
        m_preparedRemovals = m_removals;
    }
    return m_prepared;
}

bool ItemListModel::needsPreparing() const
{
    const auto behind = [this](Order order) {
        return m_removals != m_preparedRemovals || m_prepared.lines(order) < m_placed;
    };
    return (m_rank && (qsizetype(m_ranks.size()) < m_placed || behind(Order::BestFirst)))
           || behind(Order::AToZ);
}

void ItemListModel::startSwitch(Order order)
{
    const bool fromPrepared = !m_retesting && !m_shownLine && PreparedOrders::isPrepared(order)
                              && !preparedOrders().of(order).empty();
    if (!fromPrepared) {
        startBuild(order, false);
    } else {
        // The lines not prepared yet are merged into the prepared ones, which
        // the build takes over: the switch copies nothing.
        OrderInput input = orderInput(order, false);
        BigVector<quint32> prepared = std::exchange(m_prepared.of(order), {});
        m_prepared.recount(order);
        input.placedLines = qsizetype(prepared.size());
        input.placedInMemory = true;
        m_build =
            std::make_unique<OrderBuild>(std::move(input), finishedSoon(), std::move(prepared));
        settleSideBuild();
    }
    startSideBuild(order);
}

// Beside a switch to one prepared order, a spare core goes on preparing the
// other, at idle priority, so that a switch to it next finds it ready.
void ItemListModel::startSideBuild(Order switchedTo)
{
    if (m_sideBuild || !m_build || m_retesting || m_shownLine
        || !PreparedOrders::isPrepared(switchedTo) || std::thread::hardware_concurrency() < 2)
        return;
    const Order other = PreparedOrders::otherThan(switchedTo);
    if ((other == Order::BestFirst && !m_rank) || preparedOrders().lines(other) >= m_store.size())
        return;
    OrderInput input = orderInput(Order::AsFound, false);
    input.onlyOrder = other;
    if (other == Order::AToZ) {
        // Ranks are neither needed nor read: the switch may replace them.
        input.rank = {};
        input.ranks = nullptr;
        input.ranked = 0;
        input.groups.clear();
    }
    if (!mayRunBeside(input, m_build->input()))
        return;
    m_sideBuild = std::make_unique<OrderBuild>(std::move(input), finishedSoon());
}

// Keeps the work beside the build under way where it may go on beside it,
// else stops it; with no build under way, the work beside becomes the build
// (unless lines wait for their places, which come first).
void ItemListModel::settleSideBuild()
{
    if (!m_sideBuild)
        return;
    if (m_build) {
        if (m_retesting || !mayRunBeside(m_sideBuild->input(), m_build->input()))
            stopSideBuild();
        return;
    }
    if (hasPending() || m_retesting) {
        stopSideBuild();
        return;
    }
    takeOverSideBuild();
}

// The work beside becomes the build; its end, when it came while it was
// beside another build (and so went unheeded), is heeded now.
void ItemListModel::takeOverSideBuild()
{
    m_build = std::move(m_sideBuild);
    if (m_build->isDone())
        finishedSoon()();
}

// What a build calls on its thread when done: buildFinished() on this one.
std::function<void()> ItemListModel::finishedSoon()
{
    return [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                buildFinished();
            },
            Qt::QueuedConnection);
    };
}

void ItemListModel::buildAtOnce(Order order, bool placing, OrderOutput &output) const
{
    buildOrder(orderInput(order, placing), output, NotCancelled);
}

void ItemListModel::startBuild(Order order, bool placing)
{
    m_build = std::make_unique<OrderBuild>(orderInput(order, placing),
                                           finishedSoon(),
                                           placing ? std::exchange(m_spareRows, {})
                                                   : BigVector<quint32>());
    settleSideBuild();
}

// Stops the workers before the lines change; the ranks they computed are
// kept.
void ItemListModel::stopBuild()
{
    stopMainBuild();
    stopSideBuild();
}

void ItemListModel::stopSideBuild()
{
    if (!m_sideBuild)
        return;
    OrderOutput output = m_sideBuild->cancel();
    m_sideBuild.reset();
    keepRanks(output);
}

void ItemListModel::stopMainBuild()
{
    if (!m_build)
        return;
    const OrderInput &input = m_build->input();
    const bool fromPrepared = input.placedInMemory;
    const Order order = input.order;
    OrderOutput output = m_build->cancel();
    m_build.reset();
    keepRanks(output);
    // A switch stopped gives back the prepared order it took, with the lines
    // it merged in.
    if (fromPrepared)
        m_prepared.keep(order, std::move(output.permutation));
    BigVector<quint32>().swap(m_spareRows);
}

void ItemListModel::keepRanks(OrderOutput &output)
{
    const auto from = std::size_t(output.ranksFrom);
    const std::size_t end = from + output.ranks.size();
    if (from > m_ranks.size() || end <= m_ranks.size())
        return;
    if (from == 0)
        m_ranks.swap(output.ranks);
    else
        m_ranks.insert(m_ranks.end(),
                       output.ranks.begin() + std::ptrdiff_t(m_ranks.size() - from),
                       output.ranks.end());
}

// After a change, the order and the lines asked for are built again.
void ItemListModel::resumeBuild()
{
    if ((m_wanted == m_order && !m_retesting) || m_build)
        return;
    if (m_store.size() <= OrderAtOnceLines) {
        const bool switching = m_wanted != m_order;
        OrderOutput output;
        buildAtOnce(m_wanted, false, output);
        install(m_wanted, m_store.size(), output, m_retesting);
        if (switching)
            Q_EMIT orderShown();
        return;
    }
    startSwitch(m_wanted);
}

// The order and the lines asked for are given up; the list keeps its rows.
void ItemListModel::abandonWanted()
{
    const bool switching = m_wanted != m_order;
    const bool retesting = m_retesting;
    m_wanted = m_order;
    m_wantedLine = {};
    m_retesting = false;
    if (switching)
        Q_EMIT orderFailed();
    if (retesting)
        Q_EMIT shownLinesFailed();
}

void ItemListModel::buildFinished()
{
    if (!m_build || !m_build->isDone())
        return; // a build since cancelled
    // What the build was for, read before it ends.
    const bool rankingOnly = m_build->input().rankingOnly;
    const bool placing = m_build->input().placed != nullptr;
    const Order order = rankingOnly ? m_order : m_build->input().order;
    const bool switching = !rankingOnly && order != m_order;
    const bool retested = !rankingOnly && !placing && m_retesting;
    const qsizetype lines = m_build->input().lines.size();
    OrderOutput output;
    const bool complete = m_build->take(output);
    if (!complete) {
        stopMainBuild(); // keeps what was ranked
        if (switching || retested)
            abandonWanted();
        else if (rankingOnly)
            resumeBuild(); // a switch that waited for it
        settleSideBuild();
        return;
    }
    m_build.reset();
    if (rankingOnly) {
        keepRanks(output);
        // A switch asked for meanwhile goes on from what was prepared.
        resumeBuild();
    } else {
        install(order, lines, output, retested);
        // While a run goes on, the rows replaced serve the next placing.
        if (placing && hasPending())
            m_spareRows = std::move(output.permutation);
        if (switching)
            Q_EMIT orderShown();
    }
    settleSideBuild();
    // Lines that came meanwhile go on to their places.
    showPendingSoon();
}

// Shows the first `lines` lines in `order`, which `output` holds for them
// (only the lines asked for by setShownLines() when `retested`). When the
// same lines are shown, those not shown yet join the end, then every row
// moves to its place, and the views' persistent rows follow their lines;
// other lines shown reset the views.
void ItemListModel::install(Order order, qsizetype lines, OrderOutput &output, bool retested)
{
    keepRanks(output);
    const bool permuted = isPermuted(order, retested ? m_wantedLine : m_shownLine);
    const int rows = permuted ? int(output.permutation.size()) : int(lines);
    const bool bestOfGroups = order == Order::BestNumberFirst;
    if (retested || bestOfGroups != (m_order == Order::BestNumberFirst) || rows < m_shown) {
        beginResetModel();
        m_order = order;
        if (retested) {
            m_shownLine = std::exchange(m_wantedLine, {});
            m_retesting = false;
        }
        m_permutation.swap(output.permutation);
        m_placed = lines;
        m_shown = rows;
        endResetModel();
        return;
    }
    if (rows > m_shown) {
        beginInsertRows({}, m_shown, rows - 1);
        m_shown = rows;
        endInsertRows();
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Following the views' rows needs memory; without it the rows are still
    // ordered and the views told, and the failure goes on afterwards.
    QModelIndexList persistent;
    BigVector<quint32> persistentLines;
    QModelIndexList moved;
    bool follow = true;
    try {
        persistent = persistentIndexList();
        persistentLines.reserve(std::size_t(persistent.size()));
        moved.reserve(persistent.size());
        for (const QModelIndex &index : std::as_const(persistent))
            persistentLines.push_back(quint32(stored(index.row())));
    } catch (const std::bad_alloc &) {
        follow = false;
    }
    m_order = order;
    m_permutation.swap(output.permutation);
    m_placed = lines;
    if (follow && !persistent.isEmpty()) {
        const TextStore::View view = m_store.view(m_store.size());
        const auto less = [&](quint32 a, quint32 b) {
            return linePrecedes(order, view, m_ranks.data(), a, b);
        };
        // The rows are in order: each line's new row is found by halving; a
        // line no longer shown (a group's row taken by a better line) loses
        // its index.
        for (qsizetype i = 0; i < persistent.size(); ++i) {
            const quint32 line = persistentLines[std::size_t(i)];
            int row = int(line);
            if (permuted) {
                row = int(std::lower_bound(m_permutation.begin(), m_permutation.end(), line, less)
                          - m_permutation.begin());
                if (row == rows || m_permutation[std::size_t(row)] != line)
                    row = -1;
            }
            moved.append(row < 0 ? QModelIndex() : index(row, persistent.at(i).column()));
        }
        changePersistentIndexList(persistent, moved);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (!follow)
        throw std::bad_alloc();
}

void ItemListModel::showAsFound()
{
    const auto total = int(m_store.size());
    if (total == m_placed)
        return;
    beginInsertRows({}, m_shown, total - 1);
    m_shown = total;
    m_placed = total;
    endInsertRows();
}

void ItemListModel::showPending()
{
    if (m_store.size() == m_placed)
        return;
    const bool rankingOnly = m_build && m_build->input().rankingOnly;
    if (!isPermuted() && rankingOnly) {
        showAsFound();
        return;
    }
    // A switch under way starts again with the lines shown.
    stopBuild();
    if (!isPermuted()) {
        showAsFound();
    } else {
        OrderOutput output;
        buildAtOnce(m_order, true, output);
        install(m_order, m_store.size(), output, false);
    }
    resumeBuild();
}

void ItemListModel::showPendingSoon()
{
    if (!isPermuted() && m_wanted == Order::AsFound && !m_retesting) {
        showAsFound();
        // The ranks for "Best first", and the lines sorted "Best first" and
        // "A to Z", are kept up to date meanwhile, ahead of a switch.
        if (!m_build && m_placed > OrderAtOnceLines && needsPreparing())
            startBuild(Order::AsFound, false);
        return;
    }
    if (m_store.size() == m_placed)
        return;
    // Lines placed come first; work ahead of a switch goes on beside them.
    if (m_build && m_build->input().onlyOrder && !m_sideBuild)
        m_sideBuild = std::move(m_build);
    if (m_build)
        return; // new lines wait for the order being built
    if (m_store.size() <= OrderAtOnceLines) {
        showPending();
        return;
    }
    startBuild(m_order, true);
}

void ItemListModel::setRank(Rank rank)
{
    stopBuild();
    m_rank = std::move(rank);
    BigVector<quint32>().swap(m_ranks);
    m_prepared.drop(Order::BestFirst);
    resumeBuild();
}

void ItemListModel::setOrder(Order order, Rank rank)
{
    if (rank)
        setRank(std::move(rank));
    if (order == m_wanted)
        return;
    // Work beside a switch, preparing the order now asked for, becomes the
    // work ahead of this switch.
    if (m_sideBuild && !m_retesting && m_sideBuild->input().prepares(order)) {
        stopMainBuild();
        takeOverSideBuild();
    }
    // Work ahead of a switch goes on, for the order asked for only; the
    // switch starts from what it prepared.
    if (m_build && m_build->input().rankingOnly && !m_retesting
        && (order == m_order
            || (m_build->input().prepares(order) && m_store.size() > OrderAtOnceLines))) {
        m_wanted = order;
        if (order == m_order)
            Q_EMIT orderShown();
        else
            m_build->hurry(order, m_store.view(m_store.size()));
        return;
    }
    // Work preparing the other order goes on beside the switch, or while the
    // lines show as found.
    if (m_build && m_build->input().onlyOrder && !m_sideBuild)
        m_sideBuild = std::move(m_build);
    stopMainBuild();
    m_wanted = order;
    if (order == m_order && !m_retesting) {
        settleSideBuild();
        Q_EMIT orderShown();
        return;
    }
    const bool permuted = isPermuted(order, m_retesting ? m_wantedLine : m_shownLine);
    if (!permuted || m_store.size() <= OrderAtOnceLines) {
        // At once; a failure for lack of memory leaves the list as it was.
        OrderOutput output;
        try {
            if (permuted)
                buildAtOnce(order, false, output);
        } catch (const std::bad_alloc &) {
            m_wanted = m_order;
            throw;
        }
        const Order before = m_order;
        const bool wholeOrder =
            !m_retesting && !m_shownLine && m_permutation.size() == std::size_t(m_placed);
        install(order, permuted ? m_store.size() : m_placed, output, m_retesting);
        // Going back to "As found", the order left is kept for a switch back.
        if (!permuted && wholeOrder && PreparedOrders::isPrepared(before))
            preparedOrders().keep(before, std::move(output.permutation));
        settleSideBuild();
        Q_EMIT orderShown();
        return;
    }
    startSwitch(order);
}

void ItemListModel::finishOrdering()
{
    while (isOrdering()) {
        m_build->wait();
        buildFinished();
    }
}

} // namespace core
