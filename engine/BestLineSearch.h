// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/LineRanking.h"
#include "engine/PieceGraph.h"
#include "engine/ReadingChoices.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace engine {

class DictionaryKeypad;
class WordStore;

// The best mnemonic result lines of one number: exactly the lines, in
// exactly the order, that ranking every line of the number gives
// (RankedLines with a limit: ascending key, equal keys in the order the
// conversion run finds the lines, a repeated line once), without going over
// every line.
//
// The lines are the paths through the number's PieceGraph that hold at
// least five letters. A depth-first search follows them, at each position
// the pieces with the best bound first, and leaves out every piece after
// which no line can beat the lines it holds: for each position it knows what
// the pieces after it can add to a key at best (LineRanking::Outlook), and
// LineRanking::keyBound turns that and the pieces so far into a key no line
// of the branch can beat. Of two lines with one key the one found first by
// the conversion run wins: found order is the order of the readings (each
// position's choice by its index), then of the cuts (shorter pieces first).
class BestLineSearch
{
public:
    enum class Outcome {
        Done,     // lines() holds the best lines
        Stopped,  // the pulse asked to stop: lines() holds the best found so far
        Declined, // too many pieces or too large a limit: list every line instead
    };

    // The largest limit the search takes: beyond it, ranking every line
    // costs no more than holding that many.
    static constexpr qsizetype MaxLimit = 4096;

    explicit BestLineSearch(const WordStore &words);

    // The best `limit` lines of a number. `typed`: the number as typed;
    // `choices`: one choice string per position of the number as the
    // conversions read it (ConversionRun::normaliseNumber), from a
    // DictionaryKeypad. `keepMixed`, `keepWordsOnly`: the "Words and
    // numbers" and "Words only" options. `pulse` is called every 1,024 steps;
    // when it returns false the search stops.
    Outcome find(QStringView typed,
                 const QStringList &choices,
                 bool keepMixed,
                 bool keepWordsOnly,
                 qsizetype limit,
                 const std::function<bool()> &pulse);
    // The same for a number as typed, read as the conversion run reads it: no
    // lines for a number of fewer than two positions.
    Outcome find(const DictionaryKeypad &keypad,
                 const QString &typed,
                 bool keepMixed,
                 bool keepWordsOnly,
                 qsizetype limit,
                 const std::function<bool()> &pulse);

    // The lines of the last find(), best first.
    QStringList lines() const;

private:
    // What the search needs of a piece of the graph, worked out once.
    struct PieceFacts
    {
        int rankingBegin; // its pieces as the ranking counts them, in m_rankingPieces
        int rankingEnd;
        int letters;      // keypad::isLetter
        bool keepsPrefix; // it may stand in a line of the kept-prefix tier
        int wordPieces;   // of its ranking pieces
        int rarity;       // of those
        int longestWord;  // of those
    };
    // A line held among the best: its key, where it was found (its reading's
    // choice indexes, then its pieces' ends) and its text.
    struct HeldLine
    {
        quint32 key;
        std::vector<quint16> choices;
        std::vector<int> ends;
        QString text;
    };
    struct Child
    {
        int piece;
        quint32 bound;
        LineRanking::Tally tally;
        int letters;
    };
    struct Frame
    {
        int childBegin;
        int childEnd;
        int next;
        int piece; // the piece the path takes from here, -1 before the first
    };

    void studyPieces(const LineRanking &ranking);
    void lookAhead(const LineRanking &ranking);
    void
    expand(const LineRanking &ranking, int position, const LineRanking::Tally &tally, int letters);
    bool search(const LineRanking &ranking, const std::function<bool()> &pulse);
    // Whether a line with `key`, whose reading begins with the path's
    // choices up to `end`, may still be among the best.
    bool mayEnter(quint32 key, int end) const;
    // Whether the path's complete line was found before `held`.
    bool foundBefore(const HeldLine &held) const;
    void offer(quint32 key);
    QString pathLine() const;

    const WordStore &m_words;
    ReadingChoices m_choices;
    PieceGraph m_graph;
    qsizetype m_limit = 0;
    std::vector<int> m_rankingPosition; // per position: the ranking's position
    std::vector<LineRanking::Piece> m_rankingPieces;
    std::vector<PieceFacts> m_facts; // per piece of the graph
    // Per position: whether a line can end from there, the most letters the
    // rest can hold, and the best it can add to a key.
    std::vector<char> m_reaches;
    std::vector<int> m_mostLetters;
    std::vector<LineRanking::Outlook> m_outlooks;
    // The path: a frame per piece, the choice index of every position it
    // covers.
    std::vector<Frame> m_frames;
    std::vector<Child> m_children;
    std::vector<quint16> m_pathChoices;
    // The best lines so far, best first, and their texts.
    std::vector<HeldLine> m_held;
    QSet<QString> m_heldTexts;
};

} // namespace engine
