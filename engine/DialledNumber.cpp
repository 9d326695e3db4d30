// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/DialledNumber.h"

#include "engine/Keypad.h"
#include "engine/KeypadTables.h"

#include <algorithm>

namespace engine {

namespace {

// North American numbers: the country code 1 and ten digits.
constexpr int NorthAmericanLength = 10;
// Its local part: the exchange's three digits and the line's four.
constexpr qsizetype LocalLength = 7;
constexpr qsizetype ExchangeLength = 3;

// How many digits the numbering plan dials for a number whose letters are
// digits already, 0 when the number is written for another plan: "+" and a
// country code other than 1, or a first digit 0 ("00", "011": dialling abroad).
int planLengthOf(QStringView digits)
{
    const QStringView text = digits.trimmed();
    const auto firstDigit = std::find_if(text.begin(), text.end(), [](QChar c) {
        return keypad::isAsciiDigit(c.unicode());
    });
    if (firstDigit == text.end() || *firstDigit == u'0')
        return 0;
    if (text.startsWith(u'+') && *firstDigit != u'1')
        return 0;
    return *firstDigit == u'1' ? NorthAmericanLength + 1 : NorthAmericanLength;
}

void noteOnce(QString &list, QStringView letter)
{
    if (!list.contains(letter))
        list += letter;
}

} // namespace

DialledNumber dialledNumber(QStringView typed)
{
    // A letter typed as a base letter and a combining mark is one letter.
    const bool composed = std::all_of(typed.begin(), typed.end(), [](QChar c) {
        return c.unicode() < 0x0300;
    });
    const QString text =
        composed ? typed.toString() : typed.toString().normalized(QString::NormalizationForm_C);

    DialledNumber result;
    result.digits.reserve(text.size());
    // A character of `text` and of `digits` share their index: a letter
    // becomes one digit, a pair of surrogates stays two units.
    bool hasLetters = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const QStringView pair = QStringView(text).sliced(i, 2);
            if (QChar::isLetter(QChar::surrogateToUcs4(c, text[i + 1]))) {
                hasLetters = true;
                noteOnce(result.lettersOnNoKey, pair);
            }
            result.digits += pair;
            ++i;
            continue;
        }
        const char16_t key = keypad::keyOf(c.unicode());
        if (key != 0) {
            hasLetters = true;
            result.digits += QChar(key);
            continue;
        }
        if (c.isLetter()) {
            hasLetters = true;
            noteOnce(result.lettersOnNoKey, QStringView(&c, 1));
        }
        result.digits += c;
    }
    result.planLength = planLengthOf(result.digits);
    if (!hasLetters || result.planLength == 0)
        return result;
    int dialled = 0;
    for (qsizetype i = 0; i < result.digits.size(); ++i) {
        if (!keypad::isAsciiDigit(result.digits[i].unicode()) || ++dialled <= result.planLength)
            continue;
        // Past the plan: the typed letters among the rest.
        for (qsizetype j = i; j < text.size(); ++j) {
            if (keypad::keyOf(text[j].unicode()) != 0)
                result.undialledLetters += text[j];
        }
        break;
    }
    // A local number typed as one word of seven ("FLOWERS") is written as the
    // plan groups it: exchange, "-", line number.
    qsizetype end = result.digits.size();
    while (end > 0 && !keypad::isAsciiDigit(result.digits[end - 1].unicode()))
        --end;
    qsizetype begin = end;
    while (begin > 0 && keypad::isAsciiDigit(result.digits[begin - 1].unicode()))
        --begin;
    const bool lastGroupHasLetters =
        std::any_of(text.begin() + begin, text.begin() + end, [](QChar c) {
            return keypad::keyOf(c.unicode()) != 0;
        });
    if (end - begin == LocalLength && lastGroupHasLetters)
        result.digits.insert(begin + ExchangeLength, u'-');
    return result;
}

} // namespace engine
