// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <utility>

namespace engine {

// How a result line ranks, and what that is made of (LineRanking::explain).
//
// `score` is the ranking's key turned around so that larger is better: lines
// of one number order by it exactly as by the key, and lines of different
// numbers compare by the same rule, so numbers can be ranked by their best
// lines. A line that does not fit its number scores 0.
struct LineScore
{
    static constexpr qint64 BestScore = 0xffffffffLL;

    qint64 score = 0;
    quint32 key = ~quint32(0); // smaller ranks higher
    // The kept-prefix tier: the typed prefix stays as digits, words fill the
    // rest. Such lines rank above all others.
    bool prefixKept = false;
    int pieces = 0;     // the texts between the "-"
    int wordPieces = 0; // pieces without a digit
    int letters = 0;    // the characters of the word pieces
    int longestWord = 0;
    // The commonness classes of the words summed: 0 when every word is
    // common (dictionary levels up to 10, or none), up to 3 a word.
    int commonness = 0;
    int digitPieces = 0;
    int digitsAfterWords = 0;   // digit pieces after a word
    int numbersWithLetters = 0; // digit pieces with letters ("4E4")
    int splitGroups = 0;        // piece boundaries inside a typed group of the prefix
    bool typedGroups = false;   // the prefix is written in exactly the groups typed
    bool prefixLost = false;    // a word takes a position of the prefix

    // The score from a key.
    static qint64 scoreOf(quint32 key) { return BestScore - key; }

    // The parts as (name, value) pairs for output, in a fixed order: names
    // in lower case with "_", values whole decimal numbers (1 for yes, 0 for
    // no).
    QList<std::pair<QString, QString>> parts() const;
};

} // namespace engine
