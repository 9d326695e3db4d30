// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/PrefixCutCache.h"

#include "engine/CutLine.h"
#include "engine/ReadingWalk.h"

#include <algorithm>

namespace engine {

namespace {

// The most text the cuts of a prefix may hold; beyond it (long numbers with
// many short words) the readings are cut one by one.
constexpr std::size_t MaxText = 1 << 18;
// After failures in a row, up to 2^6 - 1 prefixes are skipped before the next
// try.
constexpr int MaxBackoff = 6;

} // namespace

void PrefixCutCache::reset(int size)
{
    m_marks.assign(size, 0);
    m_leads.assign(size + 1, 0);
    m_line.assign(2 * std::size_t(size), u' ');
    m_state = State::Stale;
    m_prefix = 0;
    m_failures = 0;
    m_prefixesToSkip = 0;
    m_cuts.clear();
    m_nextCut = 0;
}

bool PrefixCutCache::prepare(ReadingWalk &walk)
{
    m_nextCut = m_cuts.size();
    if (!walk.atReading())
        return false;
    if (walk.prefixCount() != m_prefix) {
        const quint64 passed = walk.prefixCount() - m_prefix;
        m_prefix = walk.prefixCount();
        if (m_state == State::TooMany && passed <= m_prefixesToSkip)
            m_prefixesToSkip -= passed;
        else
            m_state = State::Stale;
    }
    if (m_state == State::Stale)
        list(walk);
    if (m_state != State::Ready)
        return false;
    // The piece a start has open at the end of the reading is the last one
    // listed under it.
    m_nextCut = 0;
    m_dashed = walk.dashedReading();
    m_size = walk.size();
    m_trimDashes = walk.blankPossible();
    ReadingPieces &pieces = walk.pieces();
    const int size = m_size;
    for (int start = 0; start < size; ++start) {
        std::vector<ReadingPieces::Piece> &from = pieces.from(start);
        m_marks[start] =
            !from.empty() && from.back().end == size && pieces.accepted(from.back(), start);
    }
    return true;
}

void PrefixCutCache::list(ReadingWalk &walk)
{
    m_cuts.clear();
    m_text.clear();
    m_state = State::TooMany;
    m_prefixesToSkip = (std::size_t(1) << std::min(m_failures, MaxBackoff)) - 1;
    ++m_failures;
    // Only cuts that end where a piece is still open before the last
    // position can be completed, and only pieces leading there are followed.
    ReadingPieces &pieces = walk.pieces();
    const int size = walk.size();
    const char16_t *const dashed = walk.dashedReading();
    std::fill(m_marks.begin(), m_marks.end(), 0);
    walk.markOpenStarts(m_marks);
    const char *const openAt = m_marks.data();
    char *const leads = m_leads.data();
    for (int start = size - 1; start >= 0; --start) {
        bool any = openAt[start] != 0;
        for (ReadingPieces::Piece &piece : pieces.from(start)) {
            if (any || piece.end >= size)
                break;
            any = leads[piece.end] && pieces.accepted(piece, start);
        }
        leads[start] = any;
    }
    // A depth-first walk; a cut is listed once every longer cut it leads to
    // is.
    m_visits.clear();
    if (leads[0])
        m_visits.push_back(Visit{0, 0, 0, 0});
    while (!m_visits.empty()) {
        Visit &top = m_visits.back();
        std::vector<ReadingPieces::Piece> &from = pieces.from(top.start);
        if (top.piece < from.size() && from[top.piece].end < size) {
            ReadingPieces::Piece &piece = from[top.piece++];
            if (!leads[piece.end] || !pieces.accepted(piece, top.start))
                continue;
            const Visit parent = top;
            const int textBegin = int(m_text.size());
            const int pieceSize = piece.end - parent.start;
            const int textSize = parent.textSize + (parent.start > 0 ? 1 : 0) + pieceSize;
            if (m_text.size() + textSize > MaxText)
                return;
            m_text.resize(m_text.size() + textSize);
            char16_t *const text = m_text.data();
            cutline::copyUnits(text + textBegin, text + parent.textBegin, parent.textSize);
            int at = parent.textSize;
            if (parent.start > 0)
                text[textBegin + at++] = u'-';
            cutline::copyUnits(text + textBegin + at, dashed + parent.start, pieceSize);
            m_visits.push_back(Visit{piece.end, 0, textBegin, textSize});
            continue;
        }
        if (openAt[top.start]) {
            if (m_cuts.size() == m_limit)
                return;
            m_cuts.push_back(Cut{top.start, top.textBegin, top.textSize});
        }
        m_visits.pop_back();
    }
    m_state = State::Ready;
    m_failures = 0;
}

bool PrefixCutCache::next(QString &line)
{
    while (m_nextCut < m_cuts.size()) {
        const Cut &cut = m_cuts[m_nextCut++];
        if (!m_marks[cut.start])
            continue;
        const int pieceSize = m_size - cut.start;
        const int lineSize = cut.textSize + (cut.start > 0 ? 1 : 0) + pieceSize;
        char16_t *out = m_line.data();
        if (!m_trimDashes) {
            // Nothing to trim: the line is written in place.
            if (line.size() != lineSize)
                line.resize(lineSize);
            out = reinterpret_cast<char16_t *>(line.data());
        }
        cutline::copyUnits(out, m_text.data() + cut.textBegin, cut.textSize);
        int at = cut.textSize;
        if (cut.start > 0)
            out[at++] = u'-';
        cutline::copyUnits(out + at, m_dashed + cut.start, pieceSize);
        if (m_trimDashes)
            cutline::setLine(line, out, out + lineSize, true);
        return true;
    }
    return false;
}

} // namespace engine
