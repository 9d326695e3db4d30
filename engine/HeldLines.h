// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace engine {

// The best lines a search has met so far, up to a limit, in the order that
// ranking every line gives them: ascending key, and of equal keys the one the
// conversion run finds first. Where a line is found is its reading (each
// position's choice as an index into that position's choices) and then its
// cut (the ends of its pieces): readings come in the order of their choices,
// the first position varying slowest, and the cuts of one reading with the
// shorter piece first. A line met again by another cut (a number with
// blanks) is held once, where it was found first.
class HeldLines
{
public:
    // Where a line was found.
    struct Found
    {
        std::vector<quint16> choices;
        std::vector<int> ends;
    };

    // Forgets every line; at most `limit` are held from now on.
    void reset(qsizetype limit);

    // Whether a line with `key` may still be among the held ones, whatever
    // its reading.
    bool keyMayEnter(quint32 key) const;
    // Whether a line with `key`, whose reading begins with `choices` (its
    // first `size` positions), may still be among the held ones.
    bool mayEnter(quint32 key, const quint16 *choices, int size) const;
    // Takes the line if it is among the best so far.
    void offer(quint32 key, Found found, QString text);

    QStringList lines() const;

private:
    struct Line
    {
        quint32 key;
        Found found;
        QString text;
    };
    static bool foundBefore(const Found &a, const Found &b);

    qsizetype m_limit = 0;
    std::vector<Line> m_lines; // best first
    QSet<QString> m_texts;
};

} // namespace engine
