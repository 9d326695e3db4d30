// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-convert: the window's conversions on the command line.
//
//     digitome-convert [--words FILE] [--mode words|mixed|spell]
//                      [--language CODE] [--with-original] [--order found|best]
//                      [--top N] [--] [NUMBER...]
//
// Every number (from the arguments, else one a line from standard input, read
// and converted a line at a time) is converted by the engine's ConversionRun
// through a window of its own, so the lines are those the window lists for
// the same options. See digitome-convert.1 for the whole description.

#include "core/RegularFile.h"
#include "engine/BestLineSearch.h"
#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/DigitNames.h"
#include "engine/LineRanking.h"
#include "engine/WordStore.h"
#include "tools/convert/ConsoleWindow.h"
#include "tools/convert/Dictionary.h"
#include "tools/convert/InputLines.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Failed = 1;
constexpr int UsageError = 2;

// The readings of a number grow by a factor of four or five a character, so
// the mnemonic run of a long number could take years. Limits, each reported
// on standard error:
// - a number longer than this (after "-", "(", ")" and the outer blanks are
//   dropped; telephone numbers have at most 15 digits) is left out;
constexpr qsizetype LongestMnemonicNumber = 40;
// - the run of one number stops after this many seconds (checked at every
//   yield of the search: at least one per 1,024 steps), or
constexpr qint64 MostMillisecondsPerNumber = 5000;
// - after this many lines (of them, --order best without --top holds the
//   fewer, about 100 bytes each).
constexpr qint64 MostLinesPerNumber = 10'000'000;
constexpr qint64 MostHeldLinesPerNumber = 2'000'000;

void complain(const QString &message)
{
    const QByteArray text = (u"digitome-convert: "_s + message + u'\n').toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

// A number as messages show it: long ones shortened.
QString shown(const QString &number)
{
    return number.size() <= 40 ? number
                               : number.left(30) + u"... (%1 characters)"_s.arg(number.size());
}

// Result lines to standard output: UTF-8, one a line, LF. A failed write
// (a full disk, a closed reader) is kept as the system's reason, and later
// lines are dropped.
class Output
{
public:
    void line(const QString &text)
    {
        if (!m_failure.isEmpty())
            return;
        m_buffer += text.toStdString();
        m_buffer += '\n';
        if (m_buffer.size() >= (1 << 16))
            flush();
    }
    // False when a write failed, now or before.
    bool flush()
    {
        if (m_failure.isEmpty()
            && (std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout) != m_buffer.size()
                || std::fflush(stdout) != 0))
            m_failure = QString::fromLocal8Bit(std::strerror(errno));
        m_buffer.clear();
        return m_failure.isEmpty();
    }
    QString failure() const { return m_failure; }

private:
    std::string m_buffer;
    QString m_failure;
};

struct Settings
{
    QString wordsFile;
    core::ConversionOptions options;
    bool bestFirst = false;
    qsizetype top = -1; // all lines
    QStringList numbers;
};

// The command line; nullopt after --help, --version or an error, with the
// exit status in `status`.
std::optional<Settings> parseArguments(const QStringList &arguments, int &status)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Converts telephone numbers into words, as Digitome does: mnemonic words from the "
        u"keypad letters, or every digit spelled out. The numbers come from the arguments, "
        u"else one a line from standard input; the result lines go to standard output."_s);
    const QCommandLineOption words(
        u"words"_s,
        u"The dictionary: a Jet database (.mdb) or a text file of words, one a line. Default: "
        u"dbWords.mdb in the per-user data folder, else beside this program."_s,
        u"file"_s);
    const QCommandLineOption mode(u"mode"_s,
                                  u"words: mnemonic, words only (the default); mixed: mnemonic, "
                                  u"words and numbers; spell: every digit spelled out."_s,
                                  u"mode"_s,
                                  u"words"_s);
    const QCommandLineOption language(
        u"language"_s,
        u"The language of the spelled-out digits, by its ISO 639-1 code: "_s
            + engine::spellLanguageCodes() + u" (en, the default, is English)."_s,
        u"code"_s,
        u"en"_s);
    const QCommandLineOption withOriginal(
        u"with-original"_s, u"Append \"   -   \" and the number as typed to every line."_s);
    const QCommandLineOption order(
        u"order"_s,
        u"found: the lines in the order the search finds them (the default); best: the best "
        u"lines first, each distinct line once."_s,
        u"order"_s,
        u"found"_s);
    const QCommandLineOption top(
        u"top"_s,
        u"Only the first N lines of each number (the N best with --order best)."_s,
        u"N"_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    parser.addOptions({words, mode, language, withOriginal, order, top, help, version});
    parser.addPositionalArgument(u"number"_s,
                                 u"Telephone numbers; after \"--\" they may begin with \"-\"."_s,
                                 u"[--] [number...]"_s);

    status = UsageError;
    const auto usage = [&](const QString &message) -> std::optional<Settings> {
        complain(message + u"\nTry 'digitome-convert --help' for more information."_s);
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(version)) {
        const QByteArray text = parser.isSet(help)
                                    ? parser.helpText().toUtf8()
                                    : QByteArray("digitome-convert " DIGITOME_VERSION "\n");
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        status = 0;
        return std::nullopt;
    }

    Settings settings;
    settings.wordsFile = parser.value(words);
    if (parser.isSet(words) && settings.wordsFile.isEmpty())
        return usage(u"--words needs a file name"_s);
    const QString modeName = parser.value(mode);
    if (modeName == u"spell") {
        settings.options.conversion = core::ConversionOptions::Conversion::SpelledOut;
    } else if (modeName == u"mixed" || modeName == u"words") {
        settings.options.conversion = core::ConversionOptions::Conversion::Mnemonic;
        settings.options.keepMixedLines = modeName == u"mixed";
        settings.options.keepWordsOnlyLines = modeName == u"words";
    } else {
        return usage(u"--mode must be words, mixed or spell, not '%1'"_s.arg(modeName));
    }
    if (!engine::spellLanguageOf(parser.value(language))) {
        return usage(u"--language must be one of %1, not '%2'"_s.arg(engine::spellLanguageCodes(),
                                                                     parser.value(language)));
    }
    settings.options.spellLanguage = parser.value(language);
    settings.options.appendOriginalNumber = parser.isSet(withOriginal);
    const QString orderName = parser.value(order);
    if (orderName != u"found" && orderName != u"best")
        return usage(u"--order must be found or best, not '%1'"_s.arg(orderName));
    settings.bestFirst = orderName == u"best";
    if (parser.isSet(top)) {
        bool ok = false;
        const qlonglong count = parser.value(top).toLongLong(&ok);
        if (!ok || count < 1)
            return usage(
                u"--top needs a whole number of at least 1, not '%1'"_s.arg(parser.value(top)));
        settings.top = qsizetype(count);
    }
    settings.numbers = parser.positionalArguments();
    status = 0;
    return settings;
}

// Converts number after number into standard output.
class Converter
{
public:
    Converter(const Settings &settings, const engine::WordStore &words)
        : m_settings(settings)
        , m_words(words)
        , m_run(words)
        , m_window(settings.options)
        , m_keypad(words)
        , m_best(words)
    {
        m_window.onResult = [this](const QString &line) {
            take(line);
        };
        m_window.onYield = [this] {
            if (m_clock.elapsed() > MostMillisecondsPerNumber)
                stop(true);
        };
    }

    // False when the number was left out, its lines are incomplete or the
    // run reported an error.
    bool convert(const QString &number)
    {
        const bool mnemonic =
            m_settings.options.conversion == core::ConversionOptions::Conversion::Mnemonic;
        if (mnemonic
            && engine::ConversionRun::normaliseNumber(number).size() > LongestMnemonicNumber) {
            complain(u"%1: too long for mnemonic words (more than %2 characters); left out"_s
                         .arg(shown(number))
                         .arg(LongestMnemonicNumber));
            return false;
        }
        if (mnemonic && m_settings.bestFirst && m_settings.top > 0) {
            if (const std::optional<bool> converted = convertBest(number))
                return *converted;
        }
        m_window.setNumber(number);
        m_stopping = false;
        m_limitReached = false;
        m_count = 0;
        m_ranked.reset();
        if (m_settings.bestFirst && mnemonic)
            m_ranked = std::make_unique<engine::RankedLines>(m_words, number, m_settings.top);
        m_mostLines = m_ranked && m_settings.top < 0 ? MostHeldLinesPerNumber : MostLinesPerNumber;
        m_clock.start();
        m_run.startOrStop(m_window);
        if (m_ranked) {
            for (const QString &line : m_ranked->best())
                m_output.line(line);
        }
        for (const QString &report : m_window.reports())
            complain(u"%1: %2"_s.arg(shown(number), report));
        if (m_limitReached) {
            complain(u"%1: stopped after %2 lines, the number has too many readings; the lines "
                     u"are incomplete"_s.arg(shown(number))
                         .arg(m_count));
        }
        return m_window.reports().isEmpty() && !m_limitReached;
    }

    Output &output() { return m_output; }

private:
    // The best lines by a search that does not list every line; nullopt when
    // it leaves the number to the conversion run.
    std::optional<bool> convertBest(const QString &number)
    {
        const core::ConversionOptions &options = m_settings.options;
        m_clock.start();
        const auto outcome = m_best.find(m_keypad,
                                         number,
                                         options.keepMixedLines,
                                         options.keepWordsOnlyLines,
                                         m_settings.top,
                                         [this] {
                                             return m_clock.elapsed() <= MostMillisecondsPerNumber;
                                         });
        if (outcome == engine::BestLineSearch::Outcome::Declined)
            return std::nullopt;
        const QString original = options.appendOriginalNumber ? u"   -   "_s + number : QString();
        for (const QString &line : m_best.lines())
            m_output.line(line + original);
        if (outcome == engine::BestLineSearch::Outcome::Stopped) {
            complain(u"%1: stopped after %2 seconds, the number has too many readings; better "
                     u"lines may be missing"_s.arg(shown(number))
                         .arg(MostMillisecondsPerNumber / 1000));
            return false;
        }
        return true;
    }

    void take(const QString &line)
    {
        if (m_stopping)
            return;
        ++m_count;
        if (m_ranked)
            m_ranked->add(line);
        else
            m_output.line(line);
        if ((!m_ranked && m_count == m_settings.top) || !m_output.failure().isEmpty())
            stop(false);
        else if (m_count == m_mostLines)
            stop(true);
    }
    // Asks the run to stop at its next checkpoint.
    void stop(bool limitReached)
    {
        if (m_stopping)
            return;
        m_stopping = true;
        m_limitReached = limitReached;
        m_run.startOrStop(m_window);
    }

    const Settings &m_settings;
    const engine::WordStore &m_words;
    engine::ConversionRun m_run;
    convert::ConsoleWindow m_window;
    Output m_output;
    std::unique_ptr<engine::RankedLines> m_ranked;
    const engine::DictionaryKeypad m_keypad;
    engine::BestLineSearch m_best;
    QElapsedTimer m_clock;
    qint64 m_count = 0;
    qint64 m_mostLines = MostLinesPerNumber;
    bool m_stopping = false;
    bool m_limitReached = false;
};

// Converts the numbers of standard input a line at a time; false when a line
// could not be read or converted. The lines so far are written out whenever
// the input has to be waited for.
bool convertInput(Converter &converter)
{
    convert::InputLines input(STDIN_FILENO);
    input.onWait = [&converter] {
        converter.output().flush();
    };
    bool converted = true;
    QByteArray bytes;
    for (;;) {
        switch (input.next(bytes)) {
        case convert::InputLines::Status::End:
            return converted;
        case convert::InputLines::Status::ReadError:
            complain(u"cannot read standard input: "_s + input.error());
            return false;
        case convert::InputLines::Status::TooLong:
            complain(
                u"line %1 of standard input is longer than %2; left out"_s.arg(input.lineNumber())
                    .arg(core::megabytesText(convert::InputLines::LongestLine)));
            converted = false;
            continue;
        case convert::InputLines::Status::Line:
            break;
        }
        QString problem;
        const std::optional<QString> number = convert::InputLines::textOf(bytes, problem);
        if (!problem.isEmpty()) {
            complain(
                u"line %1 of standard input %2; left out"_s.arg(input.lineNumber()).arg(problem));
            converted = false;
        } else if (number && !converter.convert(*number)) {
            converted = false;
        }
        if (!converter.output().failure().isEmpty())
            return converted;
    }
}

int run(const QStringList &arguments, const QString &inputProblem)
{
    int status = 0;
    const std::optional<Settings> settings = parseArguments(arguments, status);
    if (!settings)
        return status;
    const bool fromInput = settings->numbers.isEmpty();
    if (fromInput && !inputProblem.isEmpty()) {
        complain(u"cannot read standard input: "_s + inputProblem);
        return Failed;
    }
    engine::WordStore words;
    if (settings->options.conversion == core::ConversionOptions::Conversion::Mnemonic
        || !settings->wordsFile.isEmpty()) {
        const convert::DictionaryLoad load = convert::loadDictionary(settings->wordsFile, words);
        if (!load.failure.isEmpty()) {
            complain(load.failure);
            return Failed;
        }
        if (words.unusableCount() > 0)
            complain(u"%1 words of the dictionary hold letters on no telephone key and are "
                     u"skipped"_s.arg(words.unusableCount()));
        for (const QString &notice : load.notices)
            complain(notice);
        if (!load.notices.isEmpty())
            status = Failed;
    }

    Converter converter(*settings, words);
    if (fromInput) {
        if (!convertInput(converter))
            status = Failed;
    }
    for (const QString &number : settings->numbers) {
        if (!converter.convert(number))
            status = Failed;
        if (!converter.output().failure().isEmpty())
            break;
    }
    if (!converter.output().flush()) {
        complain(u"cannot write standard output: "_s + converter.output().failure());
        return Failed;
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString problem = convert::InputLines::problemOf(STDIN_FILENO);
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(u"Tarrowen"_s);
    QCoreApplication::setApplicationName(u"Digitome"_s);
    // The inputs are bounded, so this is the last guard only.
    try {
        return run(application.arguments(), problem);
    } catch (const std::bad_alloc &) {
        std::fputs("digitome-convert: out of memory\n", stderr);
        return Failed;
    }
}
