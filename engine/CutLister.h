// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <vector>

namespace engine {

class ReadingWalk;

// Every cut of the reading walk's current reading into accepted pieces, in
// the order of the reference search: by the length of the first piece, then
// of the second, and so on, shorter first. Each cut is written as its result
// line: the pieces joined by "-", blanks inside pieces as "-" too, a blank at
// either end dropped.
class CutLister
{
public:
    // Makes room for the readings of a number of `size` positions.
    void reset(int size);
    // Prepares the cuts of the walk's current reading (checking the pieces
    // that need an exact check on the way). The walk must stay at the reading
    // until the last cut.
    void prepare(ReadingWalk &walk);
    // Writes the next cut into `line`; false after the last.
    bool next(QString &line);

private:
    struct Step // a piece of the current cut
    {
        int start;
        int piece; // into m_pieceEnds
        int lineSize;
    };

    const char16_t *m_dashed = nullptr;
    int m_size = 0;
    bool m_trimDashes = false;
    // Per start, the ends of the pieces after which a cut can go on to the
    // end: m_pieceEnds from m_endsBegin[start] up to m_endsEnd[start].
    std::vector<int> m_pieceEnds;
    std::vector<int> m_endsBegin;
    std::vector<int> m_endsEnd;
    std::vector<char> m_canFinish; // per start
    std::vector<Step> m_steps;
    int m_depth = 0;
    std::vector<char16_t> m_line; // the pieces so far, joined by "-"
};

} // namespace engine
