// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/Options.h"

#include "engine/DigitNames.h"

#include <QCommandLineParser>
#include <QThread>

#include <algorithm>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// More workers than this many per core only cost memory.
constexpr int MostJobsPerCore = 4;

struct Named
{
    const char16_t *name;
    int value;
};

constexpr Named Formats[] = {{u"text", int(OutputFormat::Text)},
                             {u"tsv", int(OutputFormat::Tsv)},
                             {u"csv", int(OutputFormat::Csv)},
                             {u"json", int(OutputFormat::Json)}};
constexpr Named OffensiveModes[] = {{u"show", int(OffensiveLines::Show)},
                                    {u"mark", int(OffensiveLines::Mark)},
                                    {u"hide", int(OffensiveLines::Hide)}};

template <std::size_t N>
std::optional<int> valueNamed(const Named (&table)[N], const QString &name)
{
    for (const Named &entry : table) {
        if (name == QStringView(entry.name))
            return entry.value;
    }
    return std::nullopt;
}

} // namespace

void complain(const QString &message)
{
    const QByteArray text = (u"digitome-convert: "_s + message + u'\n').toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

std::optional<Settings> parseArguments(const QStringList &arguments, int &status)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Converts telephone numbers into words, as Digitome does: mnemonic words from the "
        u"keypad letters, or every digit spelled out; or numbers written with letters into "
        u"the digits they dial. The numbers come from the arguments, else one a line from "
        u"standard input; the result lines go to standard output."_s);
    const QCommandLineOption words(
        u"words"_s,
        u"The dictionary: a Jet database (.mdb) or a text file of words, one a line. Default: "
        u"dbWords.mdb in the per-user data folder, else beside this program."_s,
        u"file"_s);
    const QCommandLineOption mode(
        u"mode"_s,
        u"words: mnemonic, words only (the default); mixed: mnemonic, words and numbers; "
        u"spell: every digit spelled out; digits: the digits a number with letters dials."_s,
        u"mode"_s,
        u"words"_s);
    const QCommandLineOption language(
        u"language"_s,
        u"The language of the spelled-out digits, by its ISO 639-1 code: "_s
            + engine::spellLanguageCodes() + u" (en, the default, is English)."_s,
        u"code"_s,
        u"en"_s);
    const QCommandLineOption withOriginal(
        u"with-original"_s,
        u"Append \"   -   \" and the number as typed to every line (text output)."_s);
    const QCommandLineOption order(
        u"order"_s,
        u"found: the lines in the order the search finds them (the default); best: the best "
        u"lines first, each distinct line once."_s,
        u"order"_s,
        u"found"_s);
    const QCommandLineOption top(
        u"top"_s,
        u"Only the first N lines of each number (the N best with --order best; the N best "
        u"numbers with --rank-numbers)."_s,
        u"N"_s);
    const QCommandLineOption format(
        u"format"_s,
        u"text: the lines alone (the default); tsv, csv: a header row, then number, line, "
        u"score, words and offensive a row; json: one JSON object a line."_s,
        u"format"_s,
        u"text"_s);
    const QCommandLineOption offensive(
        u"offensive"_s,
        u"Lines holding a word the dictionary rates offensive: show (the default), mark "
        u"(\" [!]\" after the line) or hide."_s,
        u"mode"_s,
        u"show"_s);
    const QCommandLineOption explain(u"explain"_s,
                                     u"Add the parts the score is made of to every line."_s);
    const QCommandLineOption rankNumbers(
        u"rank-numbers"_s, u"One line per number, its best; the numbers best first."_s);
    const QCommandLineOption jobs(
        u"jobs"_s, u"Convert N numbers at a time (default: one per processor core)."_s, u"N"_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    parser.addOptions({words,
                       mode,
                       language,
                       withOriginal,
                       order,
                       top,
                       format,
                       offensive,
                       explain,
                       rankNumbers,
                       jobs,
                       help,
                       version});
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
    } else if (modeName == u"digits") {
        settings.dialledDigits = true;
    } else {
        return usage(u"--mode must be words, mixed, spell or digits, not '%1'"_s.arg(modeName));
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
    const std::optional<int> formatValue = valueNamed(Formats, parser.value(format));
    if (!formatValue)
        return usage(
            u"--format must be text, tsv, csv or json, not '%1'"_s.arg(parser.value(format)));
    settings.format = OutputFormat(*formatValue);
    const std::optional<int> offensiveValue = valueNamed(OffensiveModes, parser.value(offensive));
    if (!offensiveValue)
        return usage(
            u"--offensive must be show, mark or hide, not '%1'"_s.arg(parser.value(offensive)));
    settings.offensive = OffensiveLines(*offensiveValue);
    settings.explain = parser.isSet(explain);
    settings.rankNumbers = parser.isSet(rankNumbers);

    const int cores = std::max(QThread::idealThreadCount(), 1);
    settings.jobs = cores;
    if (parser.isSet(jobs)) {
        bool ok = false;
        const qlonglong count = parser.value(jobs).toLongLong(&ok);
        if (!ok || count < 1)
            return usage(
                u"--jobs needs a whole number of at least 1, not '%1'"_s.arg(parser.value(jobs)));
        const int most = MostJobsPerCore * cores;
        settings.jobs = int(std::min<qlonglong>(count, most));
        if (count > most)
            settings.notices.append(
                u"--jobs %1 is more than %2 (%3 per processor core): %2 are used"_s
                    .arg(parser.value(jobs))
                    .arg(most)
                    .arg(MostJobsPerCore));
    }
    settings.numbers = parser.positionalArguments();
    status = 0;
    return settings;
}

} // namespace convert
