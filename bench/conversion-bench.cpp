// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Conversion runs on a word list, through a window-less host that counts the
// result lines (or prints them) instead of keeping a list.
//
//     digitome-bench --words FILE --mode words|mixed|spell [--with-original]
//                    [--print] [--reference] [--stop-after SECONDS] NUMBER...
//
// words = mnemonic, "Words only"; mixed = mnemonic, "Words and numbers";
// spell = spelled out. --with-original appends the original number.
// --print writes every result line to stdout as the results list would get
// it (UTF-8, one per line) and the timings to stderr. --reference uses the
// straightforward search. --stop-after clicks Stop at the first yield after
// that many seconds of a number's run, for numbers whose runs never end.
// Each number is one run; the report gives per number the lines, the
// enumeration steps, the time and the lines per second, then the peak
// resident memory (VmHWM).

#include "engine/ConversionRun.h"
#include "engine/WordStore.h"
#include "tests/support/FakeWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace {

// Counts the result lines (and their characters, so that building them cannot
// be skipped), or prints them.
struct LineCounter
{
    bool print = false;
    qint64 lines = 0;
    qint64 units = 0;
    std::string out;

    void add(const QString &line)
    {
        ++lines;
        units += line.size();
        if (print) {
            out += line.toStdString();
            out += '\n';
            if (out.size() > (1 << 16))
                flush();
        }
    }
    void flush()
    {
        std::fwrite(out.data(), 1, out.size(), stdout);
        out.clear();
    }
};

qint64 peakResidentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    }
    return -1;
}

// The number as the report shows it: long ones shortened.
QString shown(const QString &number)
{
    if (number.size() <= 40)
        return number;
    return number.left(30) + u"... (%1 characters)"_s.arg(number.size());
}

int usage()
{
    std::fprintf(
        stderr,
        "usage: digitome-bench --words FILE --mode words|mixed|spell [--with-original]\n"
        "                      [--print] [--reference] [--stop-after SECONDS] NUMBER...\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    QString wordsFile;
    QString mode;
    bool withOriginal = false;
    bool print = false;
    bool reference = false;
    double stopAfter = 0;
    QStringList numbers;
    while (!arguments.isEmpty()) {
        const QString argument = arguments.takeFirst();
        if (argument == u"--words" && !arguments.isEmpty())
            wordsFile = arguments.takeFirst();
        else if (argument == u"--mode" && !arguments.isEmpty())
            mode = arguments.takeFirst();
        else if (argument == u"--with-original")
            withOriginal = true;
        else if (argument == u"--print")
            print = true;
        else if (argument == u"--reference")
            reference = true;
        else if (argument == u"--stop-after" && !arguments.isEmpty())
            stopAfter = arguments.takeFirst().toDouble();
        else if (argument.startsWith(u"--"))
            return usage();
        else
            numbers.append(argument);
    }
    if (wordsFile.isEmpty() || numbers.isEmpty()
        || (mode != u"words" && mode != u"mixed" && mode != u"spell")) {
        return usage();
    }
    FILE *report = print ? stderr : stdout;

    QElapsedTimer clock;
    clock.start();
    QFile file(wordsFile);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot open the word list %s\n", qPrintable(wordsFile));
        return 1;
    }
    engine::WordStore words;
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.isEmpty())
            words.tryAdd(line.toString().toLower());
    }
    std::fprintf(report,
                 "word list %s: %lld words (%lld with letters on no key skipped), %lld prefix "
                 "tree edges, in %.3f s\n",
                 qPrintable(wordsFile),
                 qint64(words.size()),
                 qint64(words.unusableCount()),
                 qint64(words.prefixTree().edgeCount()),
                 clock.nsecsElapsed() / 1e9);
    std::fprintf(report,
                 "mode %s, %s search, original number %s\n",
                 qPrintable(mode),
                 reference ? "reference" : "fast",
                 withOriginal ? "on" : "off");

    engine::ConversionRun run(words);
    run.setSearchMode(reference ? engine::ConversionRun::SearchMode::Reference
                                : engine::ConversionRun::SearchMode::Fast);
    FakeWindow window;
    if (mode == u"spell")
        window.setSpelledOut();
    else
        window.setMnemonic(mode == u"mixed", mode != u"mixed");
    window.options.appendOriginalNumber = withOriginal;
    window.recordProgress = false;
    LineCounter counter;
    counter.print = print;
    window.onResult = [&counter](const QString &line) {
        counter.add(line);
    };
    // Stop is clicked at the first yield after the given time.
    const qint64 stopAfterNs = qint64(stopAfter * 1e9);
    QElapsedTimer numberClock;
    bool stopped = false;
    window.onYield = [&] {
        if (stopAfterNs > 0 && !stopped && numberClock.nsecsElapsed() > stopAfterNs) {
            stopped = true;
            run.startOrStop(window);
        }
    };

    qint64 totalLines = 0;
    qint64 totalNs = 0;
    for (const QString &number : std::as_const(numbers)) {
        window.setNumbers({number});
        counter.lines = 0;
        stopped = false;
        numberClock.start();
        run.startOrStop(window);
        const qint64 ns = numberClock.nsecsElapsed();
        counter.flush();
        std::fflush(stdout);
        for (const QString &text : window.reports())
            std::fprintf(stderr, "error report: %s\n", qPrintable(text));
        window.fakeDialogs.shown.clear();
        totalLines += counter.lines;
        totalNs += ns;
        std::fprintf(report,
                     "number %s: %lld lines, %lld steps, %.6f s, %.0f lines/s%s\n",
                     qPrintable(shown(number)),
                     counter.lines,
                     run.generatedCount(),
                     ns / 1e9,
                     ns > 0 ? counter.lines / (ns / 1e9) : 0.0,
                     stopped ? " (stopped)" : "");
    }
    std::fprintf(report,
                 "total: %lld lines, %.6f s, %.0f lines/s\n",
                 totalLines,
                 totalNs / 1e9,
                 totalNs > 0 ? totalLines / (totalNs / 1e9) : 0.0);
    std::fprintf(report, "peak memory (VmHWM): %.1f MB\n", peakResidentKiB() / 1024.0);
    return 0;
}
