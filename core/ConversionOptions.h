// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace core {

// What the window's options ask of a conversion run.
struct ConversionOptions
{
    enum class Conversion {
        None,       // neither conversion is chosen: a run converts nothing
        Mnemonic,   // keypad readings cut into words and digit groups
        SpelledOut, // every digit as its word
    };

    Conversion conversion = Conversion::Mnemonic;
    // Mnemonic lines: keep lines that mix words and digits ("Words and
    // numbers"), and lines of words only ("Words only").
    bool keepMixedLines = false;
    bool keepWordsOnlyLines = true;
    // Append "   -   " and the number as typed to every line.
    bool appendOriginalNumber = false;
    // The language of the spelled-out digits: an ISO 639-1 code of
    // engine/DigitNames ("de", "fr" ...); empty, "en" or an unknown code is
    // English.
    QString spellLanguage;

    friend bool operator==(const ConversionOptions &, const ConversionOptions &) = default;
};

} // namespace core
