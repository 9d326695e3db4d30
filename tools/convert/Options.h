// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ConversionOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace convert {

enum class OutputFormat { Text, Tsv, Csv, Json };

// What becomes of a line holding a word rated offensive (1 or 2).
enum class OffensiveLines { Show, Mark, Hide };

// What the command line asks for.
struct Settings
{
    QString wordsFile;
    core::ConversionOptions options;
    // --mode digits: the digits a number written with letters dials.
    bool dialledDigits = false;
    bool bestFirst = false;
    qsizetype top = -1; // all lines (with rankNumbers: all numbers)
    OutputFormat format = OutputFormat::Text;
    OffensiveLines offensive = OffensiveLines::Show;
    bool explain = false;
    // One line per number, its best, the numbers best first.
    bool rankNumbers = false;
    int jobs = 1;
    QStringList numbers;
    // Said on standard error before the numbers are converted.
    QStringList notices;

    bool mnemonic() const
    {
        return !dialledDigits
               && options.conversion == core::ConversionOptions::Conversion::Mnemonic;
    }
};

inline constexpr int Failed = 1;
inline constexpr int UsageError = 2;

// Says a message on standard error, after "digitome-convert: ".
void complain(const QString &message);

// The command line; nullopt after --help, --version or an error, with the
// exit status in `status`.
std::optional<Settings> parseArguments(const QStringList &arguments, int &status);

} // namespace convert
