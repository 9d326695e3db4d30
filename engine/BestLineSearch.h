// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/HeldLines.h"
#include "engine/KeyOutlook.h"
#include "engine/LineRanking.h"
#include "engine/PieceGraph.h"
#include "engine/ReadingChoices.h"

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
// which no line can beat the lines it holds (HeldLines): KeyOutlook knows
// for each position what the pieces after it can add to a key at best, and
// LineRanking::keyBound turns that and the pieces so far into a key no line
// of the branch can beat.
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

    void
    expand(const LineRanking &ranking, int position, const LineRanking::Tally &tally, int letters);
    // False when the pulse asked to stop.
    bool search(const LineRanking &ranking, const std::function<bool()> &pulse);
    // Offers the path's line, which ends at the last position.
    void offerPath(quint32 key);
    QString pathLine() const;

    const WordStore &m_words;
    ReadingChoices m_choices;
    PieceGraph m_graph;
    KeyOutlook m_outlook;
    HeldLines m_held;
    // The path: a frame per piece, the children of every frame, the choice
    // index of every position it covers.
    std::vector<Frame> m_frames;
    std::vector<Child> m_children;
    std::vector<quint16> m_pathChoices;
};

} // namespace engine
