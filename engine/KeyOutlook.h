// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/LineRanking.h"

#include <vector>

namespace engine {

class PieceGraph;
class ReadingChoices;

// What the pieces of a number's PieceGraph can still bring to a line, worked
// out once per number for the best-lines search: per piece, what the ranking
// counts of it; per position, whether a line can end from there, the most
// letters the rest can hold and the best the rest can add to a key
// (LineRanking::Outlook), found going back from the end.
class KeyOutlook
{
public:
    // What the search needs of a piece of the graph.
    struct PieceFacts
    {
        int rankingBegin; // its pieces as the ranking counts them: rankingPieces()
        int rankingEnd;
        int letters;      // keypad::isLetter
        bool keepsPrefix; // it may stand in a line of the kept-prefix tier
        int wordPieces;   // of its ranking pieces
        int rarity;       // of those
        int longestWord;  // of those
    };

    // False when the choices are not those of the ranking's number.
    bool build(const PieceGraph &graph, const ReadingChoices &choices, const LineRanking &ranking);

    const PieceFacts &facts(int piece) const { return m_facts[piece]; }
    const LineRanking::Piece &rankingPiece(int index) const { return m_rankingPieces[index]; }
    bool reaches(int position) const { return m_reaches[position] != 0; }
    int mostLetters(int position) const { return m_mostLetters[position]; }
    const LineRanking::Outlook &outlook(int position) const { return m_outlooks[position]; }

private:
    void studyPieces(const PieceGraph &graph, const LineRanking &ranking);
    void lookAhead(const PieceGraph &graph, const LineRanking &ranking);

    std::vector<int> m_rankingPosition; // per position: the ranking's position
    std::vector<LineRanking::Piece> m_rankingPieces;
    std::vector<PieceFacts> m_facts; // per piece of the graph
    std::vector<char> m_reaches;
    std::vector<int> m_mostLetters;
    std::vector<LineRanking::Outlook> m_outlooks;
};

} // namespace engine
