// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-best-lines-bench: the best lines of each number of a batch, found
// two ways: by ranking every line of the conversion run (RankedLines with a
// limit) and by the best-lines search; both must give the same lines.
//
//     digitome-best-lines-bench [--words FILE.mdb] [--numbers N] [--top N]
//                               [--mode words|mixed]
//
// The batch is N (default 20,000) ten-digit numbers with random area codes
// and exchanges (2-9 first), typed "AAA-EEE-NNNN", the same every run; the
// default mode is "mixed" (Words and numbers), the default top 1. Prints the
// time of each way, a number's average and whether every number's lines are
// identical (exit status 1 if not).

#include "engine/BestLineSearch.h"
#include "engine/DictionaryKeypad.h"
#include "engine/LineRanking.h"
#include "tests/support/ConversionLines.h"
#include "tests/support/MdbWords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList tenDigitNumbers(qsizetype count)
{
    QRandomGenerator random(8003569);
    QStringList numbers;
    numbers.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const auto threeDigits = [&] {
            return QString::number(random.bounded(200, 1000));
        };
        const QString area = threeDigits();
        const QString exchange = threeDigits();
        numbers.append(
            u"%1-%2-%3"_s.arg(area, exchange).arg(random.bounded(10000), 4, 10, QChar(u'0')));
    }
    return numbers;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QString path = QCoreApplication::applicationDirPath() + u"/dbWords.mdb"_s;
    qsizetype count = 20000;
    qsizetype top = 1;
    QString mode = u"mixed"_s;
    QStringList arguments = application.arguments().mid(1);
    while (!arguments.isEmpty()) {
        const QString argument = arguments.takeFirst();
        if (argument == u"--words" && !arguments.isEmpty()) {
            path = arguments.takeFirst();
        } else if (argument == u"--numbers" && !arguments.isEmpty()) {
            count = std::max(1LL, arguments.takeFirst().toLongLong());
        } else if (argument == u"--top" && !arguments.isEmpty()) {
            top = std::clamp(arguments.takeFirst().toLongLong(),
                             1LL,
                             qlonglong(engine::BestLineSearch::MaxLimit));
        } else if (argument == u"--mode" && !arguments.isEmpty()
                   && (arguments.first() == u"words" || arguments.first() == u"mixed")) {
            mode = arguments.takeFirst();
        } else {
            std::fprintf(stderr,
                         "usage: digitome-best-lines-bench [--words FILE.mdb] [--numbers N] "
                         "[--top N] [--mode words|mixed]\n");
            return 2;
        }
    }
    engine::WordStore words;
    const QString failure = testsupport::loadMdbWords(path, words);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    const QStringList numbers = tenDigitNumbers(count);
    const core::ConversionOptions options = testsupport::optionsOf(mode);

    QElapsedTimer timer;
    timer.start();
    QList<QStringList> everyLine;
    qint64 lines = 0;
    for (const QString &number : numbers) {
        engine::RankedLines ranked(words, number, top);
        for (const QString &line : testsupport::convertedLines(words, {number}, options))
            ranked.add(line);
        lines += ranked.added();
        everyLine.append(ranked.best());
    }
    const double everyLineSeconds = timer.nsecsElapsed() / 1e9;

    timer.restart();
    const engine::DictionaryKeypad keypad(words);
    engine::BestLineSearch search(words);
    QList<QStringList> searched;
    for (const QString &number : numbers) {
        search.find(keypad, number, options.keepMixedLines, options.keepWordsOnlyLines, top, [] {
            return true;
        });
        searched.append(search.lines());
    }
    const double searchSeconds = timer.nsecsElapsed() / 1e9;

    qsizetype differing = 0;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        differing += everyLine.at(i) != searched.at(i) ? 1 : 0;
    std::printf("%lld ten-digit numbers, \"%s\", the best %lld of each, dictionary %s (%lld "
                "words)\n",
                qint64(numbers.size()),
                qPrintable(mode),
                qint64(top),
                qPrintable(path),
                qint64(words.size()));
    std::printf("  ranking every line (%lld lines): %.2f s, %.1f us a number\n",
                lines,
                everyLineSeconds,
                everyLineSeconds * 1e6 / double(numbers.size()));
    std::printf("  best-lines search:            %.2f s, %.1f us a number (%.1fx)\n",
                searchSeconds,
                searchSeconds * 1e6 / double(numbers.size()),
                everyLineSeconds / searchSeconds);
    std::printf("  lines identical: %s\n",
                differing == 0 ? "yes" : qPrintable(u"no, %1 numbers differ"_s.arg(differing)));
    return differing == 0 ? 0 : 1;
}
