// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// orderBest and RankedLines, declared in LineRanking.h beside the ranking
// they order by.

#include "engine/LineRanking.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <limits>

namespace engine {

std::vector<quint32> orderBest(const std::vector<quint32> &keys)
{
    // A least-significant-digit radix sort of the indexes, 8 bits a pass:
    // every pass is stable, so equal keys keep their order. Passes over a
    // byte that every key shares are skipped.
    const std::size_t count = keys.size();
    std::vector<quint32> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = quint32(i);
    std::vector<quint32> next(count);
    for (int shift = 0; shift < 32; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const quint32 key : keys)
            ++starts[((key >> shift) & 0xff) + 1];
        if (std::any_of(starts.begin() + 1, starts.end(), [&](std::size_t n) {
                return n == count;
            }))
            continue;
        for (int b = 0; b < 256; ++b)
            starts[b + 1] += starts[b];
        for (const quint32 index : order)
            next[starts[(keys[index] >> shift) & 0xff]++] = index;
        order.swap(next);
    }
    return order;
}

namespace {

// Lines held before a limited list keeps only its best ones again.
constexpr qsizetype CompactAfter = 1 << 16;

// The first `limit` distinct lines (all for -1) in ascending key order, and
// their keys.
void bestDistinct(const QStringList &lines,
                  const std::vector<quint32> &keys,
                  qsizetype limit,
                  QStringList &bestLines,
                  std::vector<quint32> *bestKeys)
{
    QSet<QString> seen;
    for (const quint32 index : orderBest(keys)) {
        if (limit >= 0 && bestLines.size() >= limit)
            break;
        const QString &line = lines.at(index);
        if (seen.contains(line))
            continue;
        seen.insert(line);
        bestLines.append(line);
        if (bestKeys)
            bestKeys->push_back(keys[index]);
    }
}

} // namespace

RankedLines::RankedLines(const WordStore &words, QStringView typed, qsizetype limit)
    : m_ranking(words, typed)
    , m_limit(limit)
    // Four times the limit, the largest count there is for a larger one.
    , m_compactAt(limit < 0 ? -1
                  : limit > std::numeric_limits<qsizetype>::max() / 4
                      ? std::numeric_limits<qsizetype>::max()
                      : std::max(CompactAfter, 4 * limit))
{}

void RankedLines::add(const QString &line)
{
    m_lines.append(line);
    m_keys.push_back(m_ranking.key(line));
    ++m_added;
    if (m_compactAt >= 0 && m_lines.size() >= m_compactAt)
        compact();
}

void RankedLines::compact()
{
    // The lines dropped here cannot come back among the best: later lines
    // only push them further down, and the kept ones stay ahead of later
    // lines of the same key.
    QStringList lines;
    std::vector<quint32> keys;
    bestDistinct(m_lines, m_keys, m_limit, lines, &keys);
    m_lines.swap(lines);
    m_keys.swap(keys);
}

QStringList RankedLines::best() const
{
    QStringList lines;
    bestDistinct(m_lines, m_keys, m_limit, lines, nullptr);
    return lines;
}

} // namespace engine
