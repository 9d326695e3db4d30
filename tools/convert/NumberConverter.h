// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/BestLineSearch.h"
#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/LineRanking.h"
#include "tools/convert/ConsoleHost.h"
#include "tools/convert/OrderedResults.h"
#include "tools/convert/ResultWriter.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <memory>
#include <optional>

namespace convert {

struct Settings;

// Converts numbers one at a time, as one worker: the number's lines, ranked,
// filtered and formatted as the settings ask, go to the reorder buffer under
// the number's sequence number. Each worker has its own engine objects; the
// word store is shared and only read.
class NumberConverter
{
public:
    NumberConverter(const Settings &settings,
                    const engine::WordStore &words,
                    const ResultWriter &writer,
                    OrderedResults &results);

    // Converts a number. Its end says whether the number was left out, its
    // lines are incomplete or the run reported an error.
    void convert(const QString &number, qint64 sequence);

private:
    void convertDigits(NumberEnd &end);
    void runConversion(NumberEnd &end);
    // The best lines (--order best --top N, --rank-numbers) by the search
    // that does not list every line; false when it leaves the number to the
    // conversion run.
    bool convertBest(NumberEnd &end);
    // A line of the run.
    void take(const QString &line);
    // Formats a line into the output (with --rank-numbers: keeps the first).
    void emit(const QString &line);
    ResultRecord recordOf(const QString &line) const;
    void flushOutput();
    // Whether the run of the number has taken too long.
    bool overTime() const;
    // Asks the run to stop at its next checkpoint.
    void stop(bool limitReached);

    const Settings &m_settings;
    const engine::WordStore &m_words;
    const ResultWriter &m_writer;
    OrderedResults &m_results;
    engine::ConversionRun m_run;
    ConsoleHost m_host;
    const engine::DictionaryKeypad m_keypad;
    engine::BestLineSearch m_search;

    // The number being converted.
    QString m_number;
    qint64 m_sequence = 0;
    QByteArray m_output;
    std::unique_ptr<engine::RankedLines> m_ranked;
    std::optional<engine::LineRanking> m_scoring;
    std::optional<BestLine> m_best; // with --rank-numbers
    QElapsedTimer m_clock;
    qint64 m_started = 0; // the worker's processor time when the run began, in ms
    qint64 m_count = 0;   // lines of the run
    qint64 m_shown = 0;   // lines written or ranked
    qint64 m_mostLines = 0;
    bool m_stopping = false;
    bool m_limitReached = false;
};

} // namespace convert
