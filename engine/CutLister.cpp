// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/CutLister.h"

#include "engine/CutLine.h"
#include "engine/ReadingWalk.h"

namespace engine {

void CutLister::reset(int size)
{
    m_depth = 0;
    m_endsBegin.assign(size + 1, 0);
    m_endsEnd.assign(size + 1, 0);
    m_canFinish.assign(size + 1, 0);
    m_steps.assign(size + 1, Step{});
    m_line.assign(2 * std::size_t(size), u' ');
}

void CutLister::prepare(ReadingWalk &walk)
{
    ReadingPieces &pieces = walk.pieces();
    m_dashed = walk.dashedReading();
    m_size = walk.size();
    m_trimDashes = walk.blankPossible();
    m_depth = 0;
    if (!walk.atReading())
        return;
    // From the last start back: the pieces that reach the end or a start
    // that can finish. (At most one entry per listed piece.)
    m_pieceEnds.resize(pieces.count());
    char *const canFinish = m_canFinish.data();
    int *const pieceEnds = m_pieceEnds.data();
    int count = 0;
    canFinish[m_size] = 1;
    for (int start = m_size - 1; start >= 0; --start) {
        m_endsBegin[start] = count;
        for (ReadingPieces::Piece &piece : pieces.from(start)) {
            if (canFinish[piece.end] && pieces.accepted(piece, start))
                pieceEnds[count++] = piece.end;
        }
        m_endsEnd[start] = count;
        canFinish[start] = count > m_endsBegin[start];
    }
    if (canFinish[0])
        m_steps[m_depth++] = Step{0, m_endsBegin[0] - 1, 0};
}

bool CutLister::next(QString &line)
{
    if (m_depth == 0)
        return false;
    // The cut is a path of pieces; each step of it keeps the piece taken from
    // its start and the length of the line before that piece. The top step
    // lives in locals while the path moves.
    Step *const steps = m_steps.data();
    const int *const pieceEnds = m_pieceEnds.data();
    const int *const endsBegin = m_endsBegin.data();
    const int *const endsEnd = m_endsEnd.data();
    char16_t *const text = m_line.data();
    int depth = m_depth;
    Step top = steps[depth - 1];
    int limit = endsEnd[top.start];
    for (;;) {
        if (++top.piece == limit) {
            if (--depth == 0) {
                m_depth = 0;
                return false;
            }
            top = steps[depth - 1];
            limit = endsEnd[top.start];
            continue;
        }
        // The line so far, a "-" and the piece (its blanks as "-").
        const int start = top.start;
        const int end = pieceEnds[top.piece];
        int size = top.lineSize;
        if (start > 0)
            text[size++] = u'-';
        cutline::copyUnits(text + size, m_dashed + start, end - start);
        size += end - start;
        steps[depth - 1] = top;
        if (end < m_size) {
            top = Step{end, endsBegin[end] - 1, size};
            limit = endsEnd[end];
            ++depth;
            continue;
        }
        m_depth = depth;
        cutline::setLine(line, text, text + size, m_trimDashes);
        return true;
    }
}

} // namespace engine
