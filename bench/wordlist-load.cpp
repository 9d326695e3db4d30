// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-wordlist-bench: how long reading a text word list into the word
// store takes, as digitome-convert --words does it, and the memory it peaks at.
//
//     digitome-wordlist-bench [--runs N] LIST...
//
// Each run reads a list into a new store. The peak is the process's (maximum
// resident set size), so give one list per process for its own figure. The
// targets are those for Debian's Polish list (4.3 M words, 60 MB).

#include "core/RegularFile.h"
#include "engine/WordListReader.h"
#include "engine/WordStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList lists = app.arguments().mid(1);
    int runs = 5;
    if (lists.size() >= 2 && lists.first() == u"--runs") {
        runs = std::max(1, lists.at(1).toInt());
        lists = lists.mid(2);
    }
    if (lists.isEmpty()) {
        std::fprintf(stderr, "usage: digitome-wordlist-bench [--runs N] LIST...\n");
        return 2;
    }
    for (const QString &path : std::as_const(lists)) {
        QList<double> times;
        engine::WordListReport report;
        for (int run = 0; run < runs; ++run) {
            QFile file;
            QString error;
            if (core::openRegularFile(file, path, &error) != core::FileKind::Regular
                || !file.isOpen()) {
                std::fprintf(
                    stderr, "%s: cannot open it %s\n", qPrintable(path), qPrintable(error));
                return 1;
            }
            QElapsedTimer timer;
            timer.start();
            engine::WordStore store;
            report = engine::readWordList(file, store);
            times.append(double(timer.nsecsElapsed()) / 1e6);
            if (!report.failure.isEmpty()) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(report.failure));
                return 1;
            }
        }
        std::sort(times.begin(), times.end());
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%s: %lld words, %lld damaged lines; median %.0f ms, best %.0f ms (%d runs); "
                    "peak %ld MB (targets for the Polish list: < 1500 ms, < 300 MB)\n",
                    qPrintable(path),
                    static_cast<long long>(report.wordsAdded),
                    static_cast<long long>(report.damagedLines),
                    times[times.size() / 2],
                    times.first(),
                    runs,
                    usage.ru_maxrss / 1024);
    }
    return 0;
}
