// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

// The character-level knowledge of the conversion: the telephone keypad, the
// English digit words and the two text tests. Pure functions over text.
namespace engine::keypad {

// The keypad choices of a one-character key text: the digit first, then the
// key's letters in upper case ("7" gives "7PQRS"). Any other text, "0" and "1"
// included, comes back unchanged.
QString choicesOf(const QString &key);

// Whether a UTF-16 unit is one of the ASCII digits "0" to "9", or one of the
// ASCII letters A-Z, a-z. Inline: the mnemonic search and the line ranking
// test every unit.
inline bool isAsciiDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

inline bool isAsciiLetter(char16_t unit)
{
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

// Whether the text holds one of the digits "0" to "9".
bool containsDigit(QStringView text);

// Whether the whole text reads as one number: blanks, an optional sign, digits
// with at most one decimal point (at least one digit), optionally an exponent
// (E or D in either case, an optional sign, digits), blanks; and the value fits
// a double ("3e999" does not). No locale extras: no thousands separators,
// currency signs, parentheses or radix prefixes.
bool isNumericText(QStringView text);

// The English word of digit `index`, "zero" to "nine" (the English row of
// engine/DigitNames). Any other index is the Failure "Subscript out of range".
QString digitWord(int index);

} // namespace engine::keypad
