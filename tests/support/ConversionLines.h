// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/ConversionRun.h"
#include "engine/WordStore.h"
#include "tests/support/FakeWindow.h"

#include <QStringList>

// Result lines of a conversion run on a window-less host (link engine).
namespace testsupport {

// The options of a mode as the tools name it: "words" (mnemonic, words
// only), "mixed" (mnemonic, words and numbers) or "spell" (spelled out).
inline core::ConversionOptions optionsOf(const QString &mode, bool withOriginal = false)
{
    core::ConversionOptions options;
    if (mode == QLatin1String("spell")) {
        options.conversion = core::ConversionOptions::Conversion::SpelledOut;
    } else {
        options.keepMixedLines = mode == QLatin1String("mixed");
        options.keepWordsOnlyLines = !options.keepMixedLines;
    }
    options.appendOriginalNumber = withOriginal;
    return options;
}

// The lines one click of "Start Converting" appends for `numbers`, in order.
inline QStringList convertedLines(const engine::WordStore &words,
                                  const QStringList &numbers,
                                  const core::ConversionOptions &options)
{
    FakeWindow window;
    window.options = options;
    window.recordProgress = false;
    QStringList lines;
    window.onResult = [&lines](const QString &line) {
        lines.append(line);
    };
    window.setNumbers(numbers);
    engine::ConversionRun run(words);
    run.startOrStop(window);
    return lines;
}

} // namespace testsupport
