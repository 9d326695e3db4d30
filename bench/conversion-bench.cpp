// Conversion runs on a word list, through a window-less host that counts the
// result lines (or prints them) instead of keeping a list.
//
//     digitome-bench --words FILE --mode words|mixed|spell [--with-original]
//                    [--print] [--reference] [--stop-after SECONDS] NUMBER...
//
// words = mnemonic, "Words only" (Option4); mixed = mnemonic, "Words and
// numbers" (Option3); spell = spelled out. --with-original checks Check1.
// --print writes every result line to stdout as the results list would get
// it (UTF-8, one per line) and the timings to stderr. --reference uses the
// straightforward search. --stop-after clicks Stop at the first yield after
// that many seconds of a number's run, for numbers whose runs never end.
// Each number is one run; the report gives per number the lines, the
// enumeration steps, the time and the lines per second, then the peak
// resident memory (VmHWM).

#include "engine/ConversionHost.h"
#include "engine/ConversionRun.h"
#include "engine/Failure.h"
#include "engine/WordStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <string>

using namespace Qt::Literals::StringLiterals;

namespace {

class BenchHost : public engine::ConversionHost
{
public:
    engine::ConversionRun *run = nullptr;
    QString number;
    bool mnemonic = true;
    bool mixed = false;
    int check1 = 0;
    bool print = false;
    qint64 stopAfterNs = 0;

    QElapsedTimer clock;
    qint64 lines = 0;
    qint64 units = 0; // characters of all lines, so that building them cannot be skipped
    qint64 captions = 0;
    bool stopped = false;
    std::string out;

    QString runButtonCaption() const override { return m_caption; }
    void setRunButtonCaption(const QString &caption) override { m_caption = caption; }
    int numberCount() const override { return 1; }
    QString numberText(int index) const override
    {
        if (index != 1)
            throw engine::Failure(u"Index out of bounds"_s);
        return number;
    }
    void clearResults() override {}
    void appendResult(const QString &line) override
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
    bool option(int which) const override
    {
        switch (which) {
        case 1:
            return mnemonic;
        case 2:
            return !mnemonic;
        case 3:
            return mixed;
        case 4:
            return !mixed;
        default:
            return false;
        }
    }
    int check1Value() const override { return check1; }
    void setPointer(engine::Pointer) override {}
    void yield() override
    {
        if (stopAfterNs > 0 && !stopped && clock.nsecsElapsed() > stopAfterNs) {
            stopped = true;
            run->click(*this);
        }
    }
    void setProgressValue(double) override {}
    // The captions are counted, not kept. The window writes the generating
    // caption only when it draws, so its count is not formatted here either.
    void setProgressText(const QString &) override { ++captions; }
    void showGeneratedCount(qint64) override { ++captions; }
    void showErrorReport(const QString &text) override
    {
        std::fprintf(stderr, "error report: %s\n", qPrintable(text));
    }

    void flush()
    {
        std::fwrite(out.data(), 1, out.size(), stdout);
        out.clear();
    }

private:
    QString m_caption = u"Start Converting"_s;
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
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        QString word = line.toLower();
        if (word.endsWith(u'\r'))
            word.chop(1);
        if (!word.isEmpty() && !words.contains(word))
            words.add(word);
    }
    std::fprintf(report,
                 "word list %s: %lld words in %.3f s\n",
                 qPrintable(wordsFile),
                 qint64(words.size()),
                 clock.nsecsElapsed() / 1e9);
    std::fprintf(report,
                 "mode %s, %s search, original number %s\n",
                 qPrintable(mode),
                 reference ? "reference" : "fast",
                 withOriginal ? "on" : "off");

    engine::ConversionRun run(words);
    run.setSearchMode(reference ? engine::ConversionRun::SearchMode::Reference
                                : engine::ConversionRun::SearchMode::Fast);
    BenchHost host;
    host.run = &run;
    host.mnemonic = mode != u"spell";
    host.mixed = mode == u"mixed";
    host.check1 = withOriginal ? 1 : 0;
    host.print = print;
    host.stopAfterNs = qint64(stopAfter * 1e9);

    qint64 totalLines = 0;
    qint64 totalNs = 0;
    for (const QString &number : std::as_const(numbers)) {
        host.number = number;
        host.lines = 0;
        host.stopped = false;
        host.clock.start();
        run.click(host);
        const qint64 ns = host.clock.nsecsElapsed();
        host.flush();
        std::fflush(stdout);
        totalLines += host.lines;
        totalNs += ns;
        std::fprintf(report,
                     "number %s: %lld lines, %lld steps, %.6f s, %.0f lines/s%s\n",
                     qPrintable(shown(number)),
                     host.lines,
                     run.generatedCount(),
                     ns / 1e9,
                     ns > 0 ? host.lines / (ns / 1e9) : 0.0,
                     host.stopped ? " (stopped)" : "");
    }
    std::fprintf(report,
                 "total: %lld lines, %.6f s, %.0f lines/s\n",
                 totalLines,
                 totalNs / 1e9,
                 totalNs > 0 ? totalLines / (totalNs / 1e9) : 0.0);
    std::fprintf(report, "peak memory (VmHWM): %.1f MB\n", peakResidentKiB() / 1024.0);
    return 0;
}
