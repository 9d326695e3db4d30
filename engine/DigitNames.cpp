// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/DigitNames.h"

#include "core/Failure.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace engine {

namespace {

// The cardinal numbers 0 to 9 in their standard written forms, as counting
// and the languages' own dictionaries give them (the counting forms "eins",
// "едно"; Greek "επτά", "οκτώ", "εννέα" rather than the spoken "εφτά",
// "οχτώ", "εννιά"; Ukrainian with the apostrophe U+0027, as Debian's
// Ukrainian word list spells them). Common vocabulary of each language, free
// of any licence; this table is the project's own (MIT).
constexpr SpellLanguage Languages[] = {
    {u"en",
     u"English",
     {u"zero", u"one", u"two", u"three", u"four", u"five", u"six", u"seven", u"eight", u"nine"}},
    {u"de",
     u"Deutsch",
     {u"null", u"eins", u"zwei", u"drei", u"vier", u"fünf", u"sechs", u"sieben", u"acht", u"neun"}},
    {u"fr",
     u"Français",
     {u"zéro", u"un", u"deux", u"trois", u"quatre", u"cinq", u"six", u"sept", u"huit", u"neuf"}},
    {u"es",
     u"Español",
     {u"cero", u"uno", u"dos", u"tres", u"cuatro", u"cinco", u"seis", u"siete", u"ocho", u"nueve"}},
    {u"it",
     u"Italiano",
     {u"zero", u"uno", u"due", u"tre", u"quattro", u"cinque", u"sei", u"sette", u"otto", u"nove"}},
    {u"pl",
     u"Polski",
     {u"zero",
      u"jeden",
      u"dwa",
      u"trzy",
      u"cztery",
      u"pięć",
      u"sześć",
      u"siedem",
      u"osiem",
      u"dziewięć"}},
    {u"ru",
     u"Русский",
     {u"ноль",
      u"один",
      u"два",
      u"три",
      u"четыре",
      u"пять",
      u"шесть",
      u"семь",
      u"восемь",
      u"девять"}},
    {u"uk",
     u"Українська",
     {u"нуль",
      u"один",
      u"два",
      u"три",
      u"чотири",
      u"п'ять",
      u"шість",
      u"сім",
      u"вісім",
      u"дев'ять"}},
    {u"bg",
     u"Български",
     {u"нула", u"едно", u"две", u"три", u"четири", u"пет", u"шест", u"седем", u"осем", u"девет"}},
    {u"el",
     u"Ελληνικά",
     {u"μηδέν", u"ένα", u"δύο", u"τρία", u"τέσσερα", u"πέντε", u"έξι", u"επτά", u"οκτώ", u"εννέα"}},
};

} // namespace

std::span<const SpellLanguage> spellLanguages()
{
    return Languages;
}

const SpellLanguage *spellLanguageOf(QStringView code)
{
    for (const SpellLanguage &language : Languages) {
        if (language.code == code)
            return &language;
    }
    return nullptr;
}

const SpellLanguage &spellLanguageOrEnglish(QStringView code)
{
    const SpellLanguage *language = spellLanguageOf(code);
    return language ? *language : Languages[0];
}

QString spellLanguageCodes()
{
    QStringList codes;
    for (const SpellLanguage &language : Languages)
        codes.append(language.code.toString());
    return codes.join(u", "_s);
}

QString digitName(const SpellLanguage &language, int digit)
{
    if (digit < 0 || digit > 9)
        throw core::Failure(u"Subscript out of range"_s);
    return language.digits[size_t(digit)].toString();
}

} // namespace engine
