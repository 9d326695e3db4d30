// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QtNumeric>

#include <limits>

namespace engine {

// Step counts stop at the largest 64-bit value instead of overflowing: a
// number long enough to get there is far beyond any enumeration that could run.
inline qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return qAddOverflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

inline qint64 saturatingMultiply(qint64 a, qint64 b)
{
    qint64 product = 0;
    return qMulOverflow(a, b, &product) ? std::numeric_limits<qint64>::max() : product;
}

} // namespace engine
