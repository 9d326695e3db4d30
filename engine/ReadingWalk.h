// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/PieceStep.h"
#include "engine/ReadingChoices.h"
#include "engine/ReadingPieces.h"
#include "engine/WordPrefixTree.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace engine {

class WordStore;

// The keypad readings of one number that can give result lines, in the order
// of the full enumeration (the first position varies slowest, each position's
// choices in the order of its choice string). Nothing grows with the count of
// readings: a depth-first walk keeps, per position, the pieces still open
// (followed through the word tree and the number grammar) and the accepted
// ones (ReadingPieces), and skips every branch that cannot give a line:
// - no complete cut: no open piece is continued by a stored word or by the
//   number grammar;
// - "words only": a digit is chosen;
// - fewer than five letters can be reached (such a reading fails the letter
//   test, and a reading with five letters is never numeric, so the numeric
//   test needs no pruning of its own).
// The enumeration steps of skipped branches are counted all the same.
//
// Pieces are lower-cased the way QString::toLower does it. A character whose
// lower case is one non-surrogate unit maps on its own; a piece holding any
// other character (surrogates, characters that lower-case to several units)
// is followed only as far as a word could reach and then checked exactly, so
// the cuts equal those of the reference search in every case.
class ReadingWalk
{
public:
    explicit ReadingWalk(const WordStore &words);
    // The accepted pieces refer to the walk's own reading.
    ReadingWalk(const ReadingWalk &) = delete;
    ReadingWalk &operator=(const ReadingWalk &) = delete;

    // Starts a number: one choice string per position. `keepMixed` and
    // `keepWordsOnly` are the "Words and numbers" and "Words only" options.
    void start(const QStringList &choices, bool keepMixed, bool keepWordsOnly);

    // Moves to the next reading that gives lines, adding the enumeration steps
    // up to it to `count` (saturating). `pulse` is called after every 1,024
    // turns of the walk (skipped branches included); when it returns false
    // the walk ends. Returns false when the walk has ended. The open pieces
    // have a fixed memory budget, as the accepted ones have: a number that
    // would need more ends the walk with the core::Failure "Out of memory".
    bool next(qint64 &count, const std::function<bool()> &pulse);

    // Whether the walk stands at a reading (next() returned true).
    bool atReading() const { return m_phase == Phase::AtReading; }
    int size() const { return m_choices.size(); }
    const QString &reading() const { return m_reading; }
    // The reading with its blanks as "-", as result lines show it.
    const char16_t *dashedReading() const { return m_dashed.data(); }
    // Whether some reading of the number holds a blank.
    bool blankPossible() const { return m_choices.blankPossible(); }
    // Whether the current reading holds a digit 0-9.
    bool hasDigit() const { return m_hasDigit; }
    ReadingPieces &pieces() { return m_pieces; }
    // Counts the walk's steps onto the last position: readings of one count
    // share every character but the last.
    quint64 prefixCount() const { return m_prefixCount; }
    // Sets marks[start] for every piece still open before the last position.
    void markOpenStarts(std::vector<char> &marks) const;

private:
    enum class Phase : quint8 { Finished, Hopeless, Walking, AtReading };
    struct Frame
    {
        int nextChoice;
        int letters;
        int openBegin, openEnd; // into m_open
        int piecesMark;         // of m_pieces
    };

    void advance(const OpenPiece &piece, const ReadingChoices::Choice &choice, int position);
    void goBackTo(const Frame &frame);

    const WordPrefixTree &m_tree;
    ReadingChoices m_choices;
    Phase m_phase = Phase::Finished;
    std::vector<Frame> m_frames; // one per position
    int m_depth = 0;
    std::vector<OpenPiece> m_open;
    QString m_reading;
    std::vector<char16_t> m_dashed;
    ReadingPieces m_pieces;
    bool m_hasDigit = false;
    quint64 m_prefixCount = 0;
    int m_work = 0; // turns since the last pulse
};

} // namespace engine
