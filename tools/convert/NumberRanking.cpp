// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/NumberRanking.h"

#include <algorithm>

namespace convert {

namespace {
constexpr qsizetype FewestHeld = 1024;
}

NumberRanking::NumberRanking(qsizetype limit)
    : m_limit(limit)
{}

void NumberRanking::add(qint64 sequence, BestLine line)
{
    m_entries.push_back(Entry{line.score, sequence, std::move(line.text)});
    const auto held = qsizetype(m_entries.size());
    if (m_limit >= 0 && held >= FewestHeld && held / 2 >= m_limit)
        keepBest();
}

void NumberRanking::keepBest()
{
    const auto better = [](const Entry &a, const Entry &b) {
        return a.score != b.score ? a.score > b.score : a.sequence < b.sequence;
    };
    if (m_limit >= 0 && qsizetype(m_entries.size()) > m_limit) {
        std::nth_element(m_entries.begin(), m_entries.begin() + m_limit, m_entries.end(), better);
        m_entries.resize(std::size_t(m_limit));
    }
    std::sort(m_entries.begin(), m_entries.end(), better);
}

std::vector<BestLine> NumberRanking::best()
{
    keepBest();
    std::vector<BestLine> lines;
    lines.reserve(m_entries.size());
    for (Entry &entry : m_entries)
        lines.push_back(BestLine{entry.score, std::move(entry.text)});
    m_entries.clear();
    return lines;
}

} // namespace convert
