// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/HeldLines.h"

#include <algorithm>

namespace engine {

void HeldLines::reset(qsizetype limit)
{
    m_limit = limit;
    m_lines.clear();
    m_texts.clear();
}

bool HeldLines::keyMayEnter(quint32 key) const
{
    return qsizetype(m_lines.size()) < m_limit || key <= m_lines.back().key;
}

bool HeldLines::mayEnter(quint32 key, const quint16 *choices, int size) const
{
    if (qsizetype(m_lines.size()) < m_limit)
        return true;
    const Line &worst = m_lines.back();
    if (key != worst.key)
        return key < worst.key;
    // A line of the same key enters only if it is found first.
    const auto [mine, theirs] = std::mismatch(choices, choices + size, worst.found.choices.begin());
    return mine == choices + size || *mine < *theirs;
}

bool HeldLines::foundBefore(const Found &a, const Found &b)
{
    if (a.choices != b.choices)
        return a.choices < b.choices;
    // One reading: the cut with the shorter piece first came first.
    return a.ends < b.ends;
}

void HeldLines::offer(quint32 key, Found found, QString text)
{
    if (m_texts.contains(text)) {
        const auto same = std::find_if(m_lines.begin(), m_lines.end(), [&](const Line &line) {
            return line.text == text;
        });
        if (!foundBefore(found, same->found))
            return;
        m_lines.erase(same);
        m_texts.remove(text);
    }
    if (qsizetype(m_lines.size()) == m_limit) {
        const Line &worst = m_lines.back();
        if (key > worst.key || (key == worst.key && !foundBefore(found, worst.found)))
            return;
        m_texts.remove(worst.text);
        m_lines.pop_back();
    }
    m_texts.insert(text);
    // After the lines of smaller keys, and of the same key found before it.
    auto at =
        std::lower_bound(m_lines.begin(), m_lines.end(), key, [](const Line &line, quint32 k) {
            return line.key < k;
        });
    while (at != m_lines.end() && at->key == key && foundBefore(at->found, found))
        ++at;
    m_lines.insert(at, Line{key, std::move(found), std::move(text)});
}

QStringList HeldLines::lines() const
{
    QStringList lines;
    lines.reserve(qsizetype(m_lines.size()));
    for (const Line &line : m_lines)
        lines.append(line.text);
    return lines;
}

} // namespace engine
