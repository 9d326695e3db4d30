// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/convert/OrderedResults.h"

#include <vector>

namespace convert {

// The numbers of a batch ordered by the score of their best lines, best first;
// numbers of equal scores in input order. With a limit it holds only about
// twice that many numbers, so its memory does not grow with the batch.
class NumberRanking
{
public:
    // `limit`: how many numbers it gives at most; -1 for all.
    explicit NumberRanking(qsizetype limit);

    // The best line of the number with this sequence number.
    void add(qint64 sequence, BestLine line);
    // The best lines, best first, up to the limit.
    std::vector<BestLine> best();

private:
    struct Entry
    {
        quint32 score;
        qint64 sequence;
        QByteArray text;
    };
    void keepBest();

    qsizetype m_limit;
    std::vector<Entry> m_entries;
};

} // namespace convert
