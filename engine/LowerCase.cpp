// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LowerCase.h"

namespace engine {

void lowerCase(QStringView word, QString &lower)
{
    // A-Z directly, any other code point by its lower-case mapping, which is
    // one code point for all but U+0130.
    const char16_t *units = word.utf16();
    const qsizetype size = word.size();
    lower.resize(2 * size); // U+0130 becomes two units, any other as many as it has
    char16_t *out = reinterpret_cast<char16_t *>(lower.data());
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit < 0x80) {
            *out++ = unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit;
        } else if (unit == 0x0130) {
            *out++ = u'i';
            *out++ = 0x0307;
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size
                   && QChar::isLowSurrogate(units[i + 1])) {
            const char32_t code = QChar::toLower(QChar::surrogateToUcs4(unit, units[++i]));
            *out++ = QChar::highSurrogate(code);
            *out++ = QChar::lowSurrogate(code);
        } else {
            *out++ = char16_t(QChar::toLower(char32_t(unit)));
        }
    }
    lower.truncate(out - reinterpret_cast<char16_t *>(lower.data()));
}

} // namespace engine
