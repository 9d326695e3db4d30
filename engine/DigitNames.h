// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <span>

namespace engine {

// A language the spelled-out conversion can name digits in.
struct SpellLanguage
{
    QStringView code;                   // ISO 639-1, as settings and the command line give it
    QStringView name;                   // the language's name in the language itself
    std::array<QStringView, 10> digits; // "zero" to "nine", lower case
};

// Every language, English first.
std::span<const SpellLanguage> spellLanguages();

// The language of an ISO 639-1 code ("en", "de" ...), or nullptr.
const SpellLanguage *spellLanguageOf(QStringView code);

// The language of a code the conversion is asked for: English for a code
// that names none.
const SpellLanguage &spellLanguageOrEnglish(QStringView code);

// "en, de, fr ...": every code, in the order of spellLanguages().
QString spellLanguageCodes();

// The word of `digit` in `language`. Any other digit than 0 to 9 is the
// Failure "Subscript out of range".
QString digitName(const SpellLanguage &language, int digit);

} // namespace engine
