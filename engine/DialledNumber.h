// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace engine {

// What a number written with letters dials: "1-800-FLOWERS" is
// "1-800-356-9377". Every letter on a telephone key (A-Z in either case and
// every other letter of the keypad table: letters with marks, Cyrillic,
// Greek; see KeypadTables.h) becomes its key's digit; everything else, the
// digits, blanks and punctuation as typed, stays. A letter on no key (Hebrew,
// CJK, a letter beyond U+FFFF) stays as typed and is listed. A North
// American number whose last seven digits were typed as one group holding
// letters writes them as the plan groups them, three, "-", four
// ("(212) MY-PIZZA" stays "(212) 69-74992").
struct DialledNumber
{
    QString digits;
    // The letters on no key, in the order typed, each once.
    QString lettersOnNoKey;
    // The North American numbering plan dials 11 digits when the number
    // begins with its country code 1 (typed "1" or "+1"), else 10. When a
    // number holding letters has more digits than that, the typed characters
    // from the first digit past the plan on are not dialled; these are them,
    // as typed, from their first letter on ("1-800-FLOWERSS" gives "S"). Empty
    // when every letter is dialled, or the number is written for another plan
    // (it begins with "+" and another country code, or with "00" or "011").
    QString undialledLetters;
    // The digits the plan dials (10 or 11), 0 when no plan applies.
    int planLength = 0;
};

DialledNumber dialledNumber(QStringView typed);

} // namespace engine
