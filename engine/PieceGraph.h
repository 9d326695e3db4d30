// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/PieceStep.h"
#include "engine/ReadingChoices.h"

#include <QStringView>
#include <QtGlobal>

#include <vector>

namespace engine {

class WordStore;

// Every accepted piece of every reading of one number: the texts of one
// choice per position, from a start to an end, that are a stored word or
// read as a number (wordcuts::acceptsPiece). A cut of a reading is a path of
// pieces from position 0 to the end, and every path is one cut of one
// reading, so the result lines of a number are the paths through this graph.
// The pieces are found from each start by following the word tree and the
// number grammar as the reading walk does (stepPiece), without going over
// the readings one by one.
class PieceGraph
{
public:
    struct Piece
    {
        int start;
        int end;
        int text; // the offset of its units and choice indexes
    };

    // The most pieces, piece steps and piece text a number may take; beyond
    // them build() gives up (a long number with a dictionary of very many
    // short words).
    static constexpr std::size_t MaxPieces = std::size_t(1) << 20;
    static constexpr std::size_t MaxSteps = std::size_t(1) << 24;
    static constexpr std::size_t MaxUnits = std::size_t(1) << 24;

    explicit PieceGraph(const WordStore &words);

    // Lists the pieces of a number's readings: the allowed choices of every
    // position. False when the number has too many.
    bool build(const ReadingChoices &choices);

    int size() const { return m_size; }
    // The pieces that begin at `start`: pieces()[first(start)] up to
    // pieces()[first(start + 1)], ordered by end, then by their choices.
    int first(int start) const { return m_first[start]; }
    const std::vector<Piece> &pieces() const { return m_pieces; }
    QStringView text(const Piece &piece) const
    {
        return QStringView(m_units.data() + piece.text, piece.end - piece.start);
    }
    // The piece's choice at each of its positions, as an index into that
    // position's choices (0 for the first).
    const quint16 *choiceIndexes(const Piece &piece) const
    {
        return m_choiceIndexes.data() + piece.text;
    }

private:
    // Lists the pieces from `start`; false over the budget.
    bool listFrom(const ReadingChoices &choices, int start);

    const WordStore &m_words;
    int m_size = 0;
    std::size_t m_steps = 0;
    std::vector<Piece> m_pieces;
    std::vector<int> m_first;
    std::vector<char16_t> m_units;
    std::vector<quint16> m_choiceIndexes;
    // The piece being followed from one start: one frame and one choice per
    // position.
    struct Frame
    {
        OpenPiece piece;
        int nextChoice;
    };
    std::vector<Frame> m_frames;
    std::vector<char16_t> m_path;
    std::vector<quint16> m_pathIndexes;
};

} // namespace engine
