#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace engine {

class ConversionHost;
class ErrorReport;
class ReportSink;
class WordStore;

// The "Start Converting" command (PushButton17_Click) and the run state that
// the main window owns with it. A click while idle runs every number of the
// number list through the chosen conversion into the results list; a click
// during a run (the host's yields let it in) asks the run to stop at its next
// checkpoint. Every numbered statement reports its own failure and the run
// goes on with the next one.
//
// Data flow: number list -> normalised number -> keypad choices per position
// -> readings (combinations) -> cuts into words and numbers -> filters ->
// results list. The mnemonic search runs in one of two modes:
// - Fast (the default): MnemonicSearch streams only the readings that can give
//   result lines and counts the skipped enumeration steps arithmetically;
// - Reference: the straightforward search, RecurseExtractWords filling
//   Combinations and SplitIntoWords cutting each one; tests and the benchmark
//   compare the two. It holds every reading of a number at once and recurses
//   once per position and per piece, so it is for short numbers only.
class ConversionRun
{
public:
    enum class SearchMode { Fast, Reference };

    explicit ConversionRun(const WordStore &words);

    // PushButton17_Click.
    void click(ConversionHost &host);

    void setSearchMode(SearchMode mode) { m_searchMode = mode; }
    SearchMode searchMode() const { return m_searchMode; }

    bool stopRequested() const { return m_stopRequested; }
    // Enumeration steps since the run started (saturating 64-bit).
    qint64 generatedCount() const { return m_generatedCount; }
    // The reference search's working text and readings of the last number.
    const QString &currentCombination() const { return m_currentCombination; }
    const QStringList &combinations() const { return m_combinations; }

    // The reference enumeration: appends every reading of the positions from
    // `position` on to combinations(), counting each step in the progress
    // caption and yielding at every step. Reports its own failures.
    void RecurseExtractWords(ConversionHost &host,
                             const QStringList &choices,
                             const QList<int> &starts,
                             int position);

    // The ASCII letters (A-Z, a-z) of `text`. A text longer than 32,767
    // characters overflows: reported through `sink`, and the count is 0.
    static int CountLetter(ReportSink &sink, QStringView text);

    // "Generating words.. please wait.. " and the count.
    static QString generatingCaption(qint64 count);
    // The number as the conversions read it: "-", "(" and ")" removed, then
    // the outer blanks.
    static QString normaliseNumber(const QString &text);

private:
    void convertMnemonic(ConversionHost &host, ErrorReport &report);
    void convertSpelledOut(ConversionHost &host, ErrorReport &report);
    void searchReference(ConversionHost &host,
                         ErrorReport &report,
                         int item,
                         const QStringList &choices,
                         const QList<int> &starts);
    void
    searchFast(ConversionHost &host, ErrorReport &report, int item, const QStringList &choices);
    // Statements 170 and 172: whether a line is kept, and with the original
    // number. `original` keeps the separator and the number's text (174) once
    // they could be read.
    struct LineRules
    {
        bool keep = false;
        bool withOriginal = false;
        QString original;
    };
    LineRules readLineRules(ConversionHost &host, ErrorReport &report, bool lineHasDigit);
    // Statements 174 and 176: the original number, the results list.
    void appendLine(
        ConversionHost &host, ErrorReport &report, QString &line, LineRules &rules, int item);
    // Sets the progress caption to the current count (before a yield).
    void showCount(ConversionHost &host);

    const WordStore &m_words;
    SearchMode m_searchMode = SearchMode::Fast;
    bool m_stopRequested = false;
    qint64 m_generatedCount = 0;
    QString m_currentCombination;
    QStringList m_combinations;
};

} // namespace engine
