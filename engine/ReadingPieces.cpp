// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ReadingPieces.h"

#include "engine/WordCuts.h"

namespace engine {

ReadingPieces::ReadingPieces(const WordStore &words, const QString &reading)
    : m_words(words)
    , m_reading(reading)
{}

void ReadingPieces::reset(int size)
{
    m_from.resize(std::size_t(size) + 1);
    m_fromBytes = 0;
    for (auto &pieces : m_from) {
        pieces.clear();
        m_fromBytes += pieces.capacity() * sizeof(Piece);
    }
    m_starts.clear();
}

bool ReadingPieces::fits(std::size_t more) const
{
    return fitsBudget(m_starts, more, MaxBytes / 4)
           && m_fromBytes + more * sizeof(Piece) <= MaxBytes;
}

bool ReadingPieces::check(Piece &piece, int start)
{
    const bool accepted =
        wordcuts::acceptsPiece(m_words, QStringView(m_reading).sliced(start, piece.end - start));
    piece.state = accepted ? State::Accepted : State::Rejected;
    return accepted;
}

} // namespace engine
