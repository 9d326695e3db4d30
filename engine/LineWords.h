// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QStringView>

namespace engine {

class WordStore;

// What a mnemonic result line is made of. A line's pieces are the texts
// between its "-", up to its first blank (an appended "   -   " and the number
// are not part of it); a piece holding a digit 0-9 is a number, any other a
// word.

// The words of a line, as it shows them ("1-800-FLOWERS" gives "FLOWERS").
QStringList wordsOfLine(QStringView line);

// How offensive a line is: the highest rating (WordStore::offensive) among
// its pieces that are dictionary words, each looked up lower-cased as the
// search holds it. 0 when none is rated.
int offensiveRatingOf(const WordStore &words, QStringView line);

} // namespace engine
