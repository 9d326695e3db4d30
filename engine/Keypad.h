// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The character-level knowledge of the conversion: the telephone keypad, the
// English digit words and the two text tests. Pure functions over text.
namespace engine::keypad {

// The keypad choices of a one-character key text: the digit first, then the
// key's letters A-Z ("7" gives "7PQRS"). Any other text, "0" and "1" included,
// comes back unchanged. A dictionary with other letters has a keypad of its
// own (DictionaryKeypad).
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

// Whether a UTF-16 unit is a letter of any script: the letters a result line
// needs five of. Surrogates are none.
inline bool isLetter(char16_t unit)
{
    return unit < 0x80 ? isAsciiLetter(unit) : QChar::isLetter(unit);
}

char16_t lookupUnitBeyondAscii(char16_t lowered);

// The unit under which the dictionary holds a lower-cased letter, and under
// which a reading looks it up: the letter itself, except for a letter on a
// key whose upper case lowers to another letter (the final ς reads as Σ,
// like σ, so both are held as σ).
inline char16_t lookupUnit(char16_t lowered)
{
    return lowered < 0x80 ? lowered : lookupUnitBeyondAscii(lowered);
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
