// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The worker thread that builds an order, and the orders it prepares ahead.

#include "core/ListOrder.h"

#include <new>
#include <utility>

#if defined(Q_OS_LINUX)
#include <pthread.h>
#include <sched.h>
#endif

namespace core {

void PreparedOrders::keep(ListOrder order, BigVector<quint32> lines)
{
    of(order) = std::move(lines);
    recount(order);
}

void PreparedOrders::clear()
{
    for (const ListOrder order : {ListOrder::BestFirst, ListOrder::AToZ}) {
        BigVector<quint32>().swap(of(order));
        recount(order);
    }
}

void PreparedOrders::recount(ListOrder order)
{
    m_bytes[order == ListOrder::AToZ ? 1 : 0].store(
        qsizetype(of(order).capacity() * sizeof(quint32)), std::memory_order_relaxed);
}

void BuildControl::cancel()
{
    cancelled.store(true, std::memory_order_relaxed);
    for (std::atomic<bool> &order : left)
        order.store(true, std::memory_order_relaxed);
    aToZResorts.store(true, std::memory_order_relaxed);
}

void BuildControl::hurry(ListOrder order)
{
    hurried.store(int(order), std::memory_order_relaxed);
    helpWanted.store(true, std::memory_order_relaxed);
    if (PreparedOrders::isPrepared(order))
        left[order == ListOrder::AToZ ? 0 : 1].store(true, std::memory_order_relaxed);
    if (order == ListOrder::BestFirst)
        aToZResorts.store(true, std::memory_order_relaxed);
}

void BuildControl::giveMoreLines(const TextStore::View *lines)
{
    moreLines.store(lines, std::memory_order_release);
    aToZResorts.store(true, std::memory_order_release);
}

OrderBuild::OrderBuild(OrderInput input, std::function<void()> finished, BigVector<quint32> memory)
    : m_input(std::move(input))
{
    m_output.permutation = std::move(memory);
    m_thread = std::thread([this, finished = std::move(finished)] {
        try {
            m_complete = buildOrder(m_input, m_output, m_control);
        } catch (const std::bad_alloc &) {
            m_complete = false;
        }
        m_done.store(true, std::memory_order_release);
        if (finished)
            finished();
    });
#if defined(Q_OS_LINUX)
    // Ranking ahead of a switch uses only time no one else wants: a run
    // filling the list keeps its speed. A switch asked for meanwhile ranks
    // the rest at the usual priority.
    if (m_input.rankingOnly) {
        const sched_param idle{};
        pthread_setschedparam(m_thread.native_handle(), SCHED_IDLE, &idle);
    }
#endif
}

OrderBuild::~OrderBuild()
{
    m_control.cancel();
    if (m_thread.joinable()) {
        raisePriority();
        m_thread.join();
    }
}

// Ranking at idle priority gets no time on a busy machine, also not to see
// that it is cancelled: whoever waits for it gives it the usual priority.
void OrderBuild::raisePriority()
{
#if defined(Q_OS_LINUX)
    if (m_input.rankingOnly && m_thread.joinable()) {
        const sched_param usual{};
        pthread_setschedparam(m_thread.native_handle(), SCHED_OTHER, &usual);
    }
#endif
}

void OrderBuild::wait()
{
    raisePriority();
    if (m_thread.joinable())
        m_thread.join();
}

OrderOutput OrderBuild::cancel()
{
    m_control.cancel();
    raisePriority();
    if (m_thread.joinable())
        m_thread.join();
    return std::move(m_output);
}

void OrderBuild::hurry(ListOrder order, const TextStore::View &lines)
{
    if (order == ListOrder::AToZ && !m_moreLines && lines.size() > m_input.lines.size()) {
        m_moreLines = std::make_unique<TextStore::View>(lines);
        m_control.giveMoreLines(m_moreLines.get());
    }
    m_control.hurry(order);
    raisePriority();
}

bool OrderBuild::take(OrderOutput &output)
{
    raisePriority();
    if (m_thread.joinable())
        m_thread.join();
    if (!m_complete)
        return false;
    output = std::move(m_output);
    m_complete = false;
    return true;
}

} // namespace core
