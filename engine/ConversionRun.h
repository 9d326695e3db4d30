// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace core {
class ErrorReport;
class ReportSink;
class RunHost;
} // namespace core

namespace engine {

class DictionaryKeypad;
class MnemonicSearch;
class SpelledLine;
class WordStore;
struct SpellLanguage;

// The "Start Converting" command and the run state it keeps between clicks.
// A click while idle runs every number of the number list through the chosen
// conversion into the results list; a click during a run (the window's yields
// let it in) asks the run to stop at its next checkpoint. Every step reports
// its own failure and the run goes on with the next one.
//
// Data flow: number list -> normalised number -> the dictionary's keypad
// (DictionaryKeypad) choices per position -> readings -> cuts into words and
// numbers -> line filters -> results list.
// The mnemonic search runs in one of two modes:
// - Fast (the default): MnemonicSearch streams only the readings that can give
//   result lines and counts the skipped enumeration steps arithmetically;
// - Reference: the straightforward search, enumerateReadings() holding every
//   reading and cutIntoWords() cutting each one; tests and the benchmark
//   compare the two. It holds every reading of a number at once and recurses
//   once per position and per piece, so it is for short numbers only.
class ConversionRun
{
public:
    enum class SearchMode { Fast, Reference };
    enum class State { Idle, Running, Stopping };

    explicit ConversionRun(const WordStore &words);

    // A click of the start button: starts a run when idle, else asks the run
    // to stop.
    void startOrStop(core::RunHost &host);

    void setSearchMode(SearchMode mode) { m_searchMode = mode; }
    SearchMode searchMode() const { return m_searchMode; }

    State state() const;
    // Whether a stop was asked for since the last run started.
    bool stopRequested() const { return m_stopRequested; }
    // Enumeration steps since the run started (saturating 64-bit).
    qint64 generatedCount() const { return m_generatedCount; }
    // The reference search's working text and readings of the last number.
    const QString &currentReading() const { return m_currentReading; }
    const QStringList &readings() const { return m_readings; }

    // The reference enumeration: appends every reading of the positions from
    // `position` on to readings(), counting each step in the progress caption
    // and yielding at every step. Reports its own failures.
    void enumerateReadings(core::RunHost &host,
                           const QStringList &choices,
                           const QList<int> &starts,
                           int position);

    // The letters of `text`, of any script (keypad::isLetter). A text longer
    // than 32,767 characters overflows: reported through `sink`, and the
    // count is 0.
    static int countLetters(core::ReportSink &sink, QStringView text);

    // The number as the conversions read it (number::normalised).
    static QString normaliseNumber(const QString &text);

private:
    void run(core::RunHost &host, core::ErrorReport &report);
    void convertMnemonic(core::RunHost &host, core::ErrorReport &report);
    // The texts of the number being converted; they outlive a failed step, so
    // a number whose item cannot be read converts the text read before.
    struct NumberTexts
    {
        QString text;
        QString number;
        QStringList choices;
        QList<int> starts;
    };
    void convertNumber(core::RunHost &host,
                       core::ErrorReport &report,
                       const DictionaryKeypad &keypad,
                       int item,
                       NumberTexts &texts);
    void searchReference(core::RunHost &host,
                         core::ErrorReport &report,
                         int item,
                         const QStringList &choices,
                         const QList<int> &starts);
    void cutReading(core::RunHost &host, core::ErrorReport &report, int item, qsizetype reading);
    void searchFast(core::RunHost &host,
                    core::ErrorReport &report,
                    int item,
                    const QStringList &choices);
    // The lines of the search's current reading, all its cuts.
    void
    appendCuts(core::RunHost &host, core::ErrorReport &report, MnemonicSearch &search, int item);
    void convertSpelledOut(core::RunHost &host, core::ErrorReport &report);
    // Appends the line to the results, yielding every 65,536 characters of
    // the number; false when a stop was asked for meanwhile (the line is
    // dropped).
    bool spellOut(core::RunHost &host, core::ErrorReport &report, SpelledLine &line);

    // Whether a line is kept, and with the original number. `original` keeps
    // the separator and the number's text once they could be read.
    struct LineRules
    {
        bool keep = false;
        bool withOriginal = false;
        QString original;
    };
    LineRules readLineRules(core::RunHost &host, core::ErrorReport &report, bool lineHasDigit);
    void appendLine(
        core::RunHost &host, core::ErrorReport &report, QString &line, LineRules &rules, int item);
    // Shows the current count in the progress caption and yields.
    void showCountAndYield(core::RunHost &host);

    const WordStore &m_words;
    SearchMode m_searchMode = SearchMode::Fast;
    bool m_running = false;
    bool m_stopRequested = false;
    qint64 m_generatedCount = 0;
    const SpellLanguage *m_spellLanguage = nullptr; // of the spelled-out run
    QString m_currentReading;
    QStringList m_readings;
};

} // namespace engine
