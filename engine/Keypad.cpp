// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/Keypad.h"

#include "engine/DigitNames.h"
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
    if (key.size() == 1) {
        switch (key.front().unicode()) {
        case u'2':
            return u"2ABC"_s;
        case u'3':
            return u"3DEF"_s;
        case u'4':
            return u"4GHI"_s;
        case u'5':
            return u"5JKL"_s;
        case u'6':
            return u"6MNO"_s;
        case u'7':
            return u"7PQRS"_s;
        case u'8':
            return u"8TUV"_s;
        case u'9':
            return u"9WXYZ"_s;
        default:
            break;
        }
    }
    return key;
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
