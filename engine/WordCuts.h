// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace engine {
class WordStore;
}

// Word cutting: every way of cutting a keypad reading into dictionary words
// and numeric pieces.
namespace engine::wordcuts {

// Whether `piece` may stand as one piece of a cut: its lower-cased text is a
// stored word or reads as a number.
bool acceptsPiece(const WordStore &words, QStringView piece);

// Appends to `entries` every cut of `remaining` into accepted pieces, each cut
// as `accumulated` followed by a blank and a piece for every piece in order
// (" IF I FILE"). The cuts come ordered by the length of the first piece, then
// of the second, and so on, shorter first. Recursive and exhaustive: the
// straightforward search. A remaining text longer than 32,767 characters is
// the Failure "Overflow" (its 16-bit cut lengths would overflow).
void cutIntoWords(const WordStore &words,
                  const QString &remaining,
                  const QString &accumulated,
                  QStringList &entries);

} // namespace engine::wordcuts
