// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Ranking the lines of a list for "Best first", for the order builds.

#pragma once

#include "core/ListOrder.h"

#include <atomic>

namespace core::detail {

// Ranks the lines of an order's input from input.ranked on into the output's
// ranks: on every core for a long list (the rank function keeps its state per
// thread), or ahead of a switch one piece at a time on the calling thread.
class LineRanker
{
public:
    LineRanker(const OrderInput &input, OrderOutput &output, const BuildControl &control)
        : m_in(input)
        , m_out(output)
        , m_control(control)
    {}

    // Returns false, the ranks of the lines ranked without a gap kept, once
    // cancelled; throws std::bad_alloc when memory ran out.
    bool rankLines();

private:
    bool cancelled() const { return m_control.cancelled.load(std::memory_order_relaxed); }
    // Ranks the lines from `first` on, on every core for a long list.
    bool rankInParallel(qsizetype first);
    // Ranks the lines [from, to) into the output's ranks, counting them in
    // `done`.
    bool rankRange(qsizetype from, qsizetype to, qsizetype &done);

    const OrderInput &m_in;
    OrderOutput &m_out;
    const BuildControl &m_control;
};

} // namespace core::detail
