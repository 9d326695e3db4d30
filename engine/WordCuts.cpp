// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordCuts.h"

#include "core/Failure.h"
#include "engine/Keypad.h"
#include "engine/WordStore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine::wordcuts {

bool acceptsPiece(const WordStore &words, QStringView piece)
{
    const QString lowered = piece.toString().toLower();
    return words.contains(lowered) || keypad::isNumericText(lowered);
}

void cutIntoWords(const WordStore &words,
                  const QString &remaining,
                  const QString &accumulated,
                  QStringList &entries)
{
    if (remaining.isEmpty()) {
        entries.append(accumulated);
        return;
    }
    if (remaining.size() > 32767)
        throw core::Failure(u"Overflow"_s);
    for (qsizetype length = 1; length <= remaining.size(); ++length) {
        if (acceptsPiece(words, QStringView(remaining).left(length))) {
            cutIntoWords(
                words, remaining.mid(length), accumulated + u' ' + remaining.left(length), entries);
        }
    }
}

} // namespace engine::wordcuts
