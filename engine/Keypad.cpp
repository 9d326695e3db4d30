// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/Keypad.h"

#include "core/Failure.h"
#include "engine/DigitNames.h"
#include "engine/KeypadTables.h"
#include "engine/NumericScanner.h"

#include <charconv>
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace engine::keypad {

namespace {

// Whether a number whose decimal magnitude is 309 still fits a double: the
// significant digits, read as 0.ddd times 1e309, are converted exactly.
bool fitsAtLimit(QStringView text)
{
    std::string digits = "0.";
    bool significant = false;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'e' || unit == u'E' || unit == u'd' || unit == u'D')
            break;
        if (unit < u'0' || unit > u'9')
            continue; // blanks, the sign, the point
        significant = significant || unit != u'0';
        if (significant)
            digits.push_back(char(unit));
    }
    digits += "e309";
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc();
}

} // namespace

QString choicesOf(const QString &key)
{
    if (key.size() != 1)
        return key;
    QString choices = key;
    for (const KeyRow &row : keyRows()) {
        if (row.key == key.front() && isAsciiLetter(row.letters[0]))
            choices += QString::fromUtf16(row.letters);
    }
    return choices;
}

char16_t lookupUnitBeyondAscii(char16_t lowered)
{
    if (!QChar::isLower(lowered) || keyOf(lowered) == 0)
        return lowered;
    const char32_t again = QChar::toLower(QChar::toUpper(char32_t(lowered)));
    return again <= 0xffff && keyOf(char16_t(again)) != 0 ? char16_t(again) : lowered;
}

bool containsDigit(QStringView text)
{
    for (const QChar c : text) {
        if (isAsciiDigit(c.unicode()))
            return true;
    }
    return false;
}

bool isNumericText(QStringView text)
{
    NumericScanner scanner;
    for (const QChar c : text) {
        scanner.step(c.unicode());
        if (scanner.isDead())
            return false;
    }
    if (!scanner.isComplete())
        return false;
    switch (scanner.range()) {
    case NumericScanner::Range::Fits:
        return true;
    case NumericScanner::Range::Overflows:
        return false;
    case NumericScanner::Range::AtLimit:
        break;
    }
    return fitsAtLimit(text);
}

QString digitWord(int index)
{
    return digitName(spellLanguages().front(), index);
}

} // namespace engine::keypad
