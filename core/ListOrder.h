// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/BigMemory.h"
#include "core/TextStore.h"

#include <QString>
#include <QStringView>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace core {

// The orders a list shows its lines in. BestNumberFirst shows one line per
// group: the line Best first puts first among the group's shown lines, the
// groups ordered by the rank of that line (ties in found order). A line
// arriving later takes its group's row when it ranks before the line shown;
// a row removed leaves its group without a row until the order is built
// again.
enum class ListOrder { AsFound, BestFirst, AToZ, BestNumberFirst };

constexpr bool isRankedOrder(ListOrder order)
{
    return order == ListOrder::BestFirst || order == ListOrder::BestNumberFirst;
}

// The rank key of a line for "Best first" (smaller first), from its text and
// the label of its group; equal keys keep the found order.
using LineRank = std::function<quint32(QStringView line, QStringView group)>;

// Whether a stored line may be shown.
using ShownLineTest = std::function<bool(QStringView line)>;

// A run of lines that belong to one group (the number they came from).
struct LineGroup
{
    qsizetype first; // the first stored line of the run
    QString label;
};

// The lines [0, size) of each order, sorted ahead of a switch to it while the
// list shows them as found. Each order may be extended by a worker of its own.
class PreparedOrders
{
public:
    static bool isPrepared(ListOrder order)
    {
        return order == ListOrder::BestFirst || order == ListOrder::AToZ;
    }
    // The other of the two prepared orders.
    static ListOrder otherThan(ListOrder order)
    {
        return order == ListOrder::AToZ ? ListOrder::BestFirst : ListOrder::AToZ;
    }
    BigVector<quint32> &of(ListOrder order)
    {
        return order == ListOrder::AToZ ? m_aToZ : m_bestFirst;
    }
    // How many lines `order` holds.
    qsizetype lines(ListOrder order) const
    {
        return qsizetype((order == ListOrder::AToZ ? m_aToZ : m_bestFirst).size());
    }
    void keep(ListOrder order, BigVector<quint32> lines);
    void drop(ListOrder order) { keep(order, {}); }
    void clear();
    // What both hold; also read while workers extend them.
    qsizetype bytesUsed() const
    {
        return m_bytes[0].load(std::memory_order_relaxed)
               + m_bytes[1].load(std::memory_order_relaxed);
    }
    // Counts what `order` holds again, after it changed.
    void recount(ListOrder order);

private:
    BigVector<quint32> m_bestFirst;
    BigVector<quint32> m_aToZ;
    std::array<std::atomic<qsizetype>, 2> m_bytes{}; // Best first, A to Z
};

// What ordering the lines [0, lines.size()) needs. The pointers stay valid,
// and what they point at unchanged, until the work is done.
struct OrderInput
{
    ListOrder order = ListOrder::AsFound;
    TextStore::View lines;
    // Ranks of the first lines, and what ranks the rest.
    const quint32 *ranks = nullptr;
    qsizetype ranked = 0;
    // The room the list has for ranks: a build that ranks beyond it gives the
    // ranks of all lines, so the list never grows its ranks on its own thread.
    qsizetype ranksRoom = 0;
    LineRank rank;
    // Those of the lines from `ranked` on, and from `placedLines` on.
    std::vector<LineGroup> groups;
    // The lines shown (all when empty); a subset makes a permutation also
    // for AsFound.
    ShownLineTest shown;
    // The first `placedLines` lines already in `order` (the shown ones of
    // them, in `placed`); the rest join them.
    const BigVector<quint32> *placed = nullptr;
    qsizetype placedLines = 0;
    // Instead of `placed`: the build's memory holds the first `placedLines`
    // lines in `order`, and the rest are merged into it in place. Whether
    // done, cancelled or failed, the output's permutation then holds its
    // first lines in `order`.
    bool placedInMemory = false;
    // Only ranks the lines and extends the prepared orders (when given),
    // ahead of a switch; what `prepared` points at is the worker's until the
    // work is done, of only one order when `onlyOrder` names it.
    bool rankingOnly = false;
    PreparedOrders *prepared = nullptr;
    std::optional<ListOrder> onlyOrder;

    // Whether the work extends the prepared `order`.
    bool prepares(ListOrder order) const
    {
        return rankingOnly && prepared && PreparedOrders::isPrepared(order)
               && (!onlyOrder || *onlyOrder == order);
    }
};

// What the list's thread tells a build under way.
struct BuildControl
{
    // The work stops, part done.
    std::atomic<bool> cancelled{false};
    // Work ahead of a switch: the order the switch asks for; -1 until then.
    std::atomic<int> hurried{-1};
    // Work ahead of a switch to "A to Z": the lines as they were when it was
    // asked for, more than the input's; sorting "A to Z" not yet done begins
    // again with them all, so that one merge takes them all in, not two.
    std::atomic<const TextStore::View *> moreLines{nullptr};
    // Extending a prepared order stops, undone, once it is set for that
    // order: when the switch asks for the other one, and on cancel.
    std::array<std::atomic<bool>, 2> left{}; // Best first, A to Z
    // Set when "A to Z" is left, and when more lines are given: sorting
    // them ahead of a switch then stops, to begin again with all of them.
    std::atomic<bool> aToZResorts{false};
    // Set once a switch waits for work ahead of it: a merge that work began
    // on one thread then takes a second for what is left.
    std::atomic<bool> helpWanted{false};

    void cancel();
    void hurry(ListOrder order);
    // Gives work ahead of a switch to "A to Z" the lines as they are now.
    void giveMoreLines(const TextStore::View *lines);
    const std::atomic<bool> &leaving(ListOrder order) const
    {
        return left[order == ListOrder::AToZ ? 1 : 0];
    }
};

struct OrderOutput
{
    BigVector<quint32> ranks;       // of the lines from ranksFrom on
    qsizetype ranksFrom = 0;        // input.ranked, or 0 when the input's ranks are copied in
    BigVector<quint32> permutation; // row -> line; empty for AsFound of every line
};

// Puts the lines in order: ranks the unranked lines for "Best first", sorts
// the lines not yet placed (a radix sort of the ranks, or of the first eight
// letters for "A to Z") and merges them with the placed ones. Returns false,
// part done, once cancelled. Ranking ahead of a switch, it extends only the
// order the switch asks for once it asks.
bool buildOrder(const OrderInput &input, OrderOutput &output, const BuildControl &control);

// Whether line `a` comes before line `b` in `order`, given the ranks of both.
bool linePrecedes(
    ListOrder order, const TextStore::View &lines, const quint32 *ranks, quint32 a, quint32 b);

// buildOrder() on a thread of its own; `finished` is called on that thread
// when it is done, also when cancelled. Ending it cancels and waits. The
// order placing lines among others is written into `memory`, whose contents
// do not matter: reusing an array spares the faults of fresh pages.
class OrderBuild
{
public:
    OrderBuild(OrderInput input, std::function<void()> finished, BigVector<quint32> memory = {});
    ~OrderBuild();
    OrderBuild(const OrderBuild &) = delete;
    OrderBuild &operator=(const OrderBuild &) = delete;

    const OrderInput &input() const { return m_input; }
    bool isDone() const { return m_done.load(std::memory_order_acquire); }
    void wait();
    // Waits for the work and gives its outcome; false when it was cancelled
    // or failed for lack of memory.
    bool take(OrderOutput &output);
    // Cancels the work, waits for it and gives the ranks it has computed.
    OrderOutput cancel();
    // Work ahead of a switch to `order`: at the usual priority, and only for
    // that order from now on; for "A to Z" also of `lines` (the lines as they
    // are now) when it has yet to sort them.
    void hurry(ListOrder order, const TextStore::View &lines = {});
    bool isHurried() const { return m_control.hurried.load(std::memory_order_relaxed) >= 0; }

private:
    void raisePriority();

    OrderInput m_input;
    OrderOutput m_output;
    BuildControl m_control;
    std::unique_ptr<TextStore::View> m_moreLines; // what m_control.moreLines points at
    std::atomic<bool> m_done{false};
    bool m_complete = false;
    std::thread m_thread;
};

} // namespace core
