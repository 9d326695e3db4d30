// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-dictionary-bench: how long start-up spends on the dictionary, and
// how long building the dictionary file takes.
//
//     digitome-dictionary-bench [FOLDER] [RUNS]
//
// FOLDER holds dbWords.mdb (default: this program's folder, where the build
// puts it). Each load opens a new connection and fills a new store, as the
// window does at start-up. The load is also split into its two halves: the
// database reading every row's word and commonness (the platform's part), and
// the word store taking words already in memory (the engine's part).

#include "core/Database.h"
#include "core/Failure.h"
#include "engine/LoadWords.h"
#include "engine/WordStore.h"
#include "platform/MdbDatabase.h"
#include "tools/jet4/Jet4Writer.h"
#include "tools/mkmdb/WordList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace Qt::Literals::StringLiterals;

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1 ? args[1] : QCoreApplication::applicationDirPath();
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 15;

    // Loading: connection, open, store, LoadWords.
    QList<double> loads;
    qsizetype words = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        platform::MdbDatabase database;
        const auto connection = database.createConnection();
        engine::WordStore store;
        try {
            connection->open(core::wordsConnectionText(folder));
            engine::loadWords(*connection, store);
        } catch (const core::Failure &failure) {
            std::fprintf(stderr, "%s\n", qPrintable(failure.description()));
            return 1;
        }
        loads.append(double(timer.nsecsElapsed()) / 1e6);
        words = store.size();
    }
    std::printf("load dbWords.mdb into the store: %lld words, median %.1f ms, best %.1f ms "
                "(%d runs; target < 300 ms)\n",
                static_cast<long long>(words),
                median(loads),
                *std::min_element(loads.begin(), loads.end()),
                runs);

    // The halves: reading the rows, filling the store; also in processor
    // time, which other programs on the machine do not stretch.
    QList<double> reads;
    QList<double> fills;
    QList<double> readsCpu;
    QList<double> fillsCpu;
    const auto cpuMs = [] {
        return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
    };
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuMs();
        QStringList texts;
        QList<int> levels;
        try {
            platform::MdbConnection connection;
            connection.open(core::wordsConnectionText(folder));
            const auto rows = connection.openRecordSet(u"select * from words"_s);
            const int commonness = rows->fieldCount() > 3 ? 3 : -1;
            texts.reserve(rows->recordCount());
            levels.reserve(rows->recordCount());
            for (; !rows->eof(); rows->moveNext()) {
                texts.append(rows->field(2).value_or(QString()));
                levels.append(commonness < 0 ? 0 : rows->field(commonness)->toInt());
            }
        } catch (const core::Failure &failure) {
            std::fprintf(stderr, "%s\n", qPrintable(failure.description()));
            return 1;
        }
        reads.append(double(timer.nsecsElapsed()) / 1e6);
        readsCpu.append(cpuMs() - cpu);
        timer.start();
        cpu = cpuMs();
        engine::WordStore store;
        engine::WordStore::BulkAdding bulk(store, 8 * texts.size());
        for (qsizetype w = 0; w < texts.size(); ++w)
            store.add(texts[w].toLower(), levels[w]);
        bulk.finish();
        fills.append(double(timer.nsecsElapsed()) / 1e6);
        fillsCpu.append(cpuMs() - cpu);
    }
    std::printf("  of which reading the rows (platform): median %.1f ms (processor %.1f ms); "
                "filling the store (engine): median %.1f ms (processor %.1f ms)\n",
                median(reads),
                median(readsCpu),
                median(fills),
                median(fillsCpu));

    // Building: gather the word lists and write the file.
    QStringList lists;
    for (const QString &name : {u"english"_s, u"american"_s}) {
        for (const QString &size : {u"10"_s, u"20"_s, u"35"_s})
            lists << u"/usr/share/dict/scowl/%1-words.%2"_s.arg(name, size);
    }
    QTemporaryDir dir;
    QList<double> builds;
    for (int i = 0; i < std::min(runs, 5); ++i) {
        QElapsedTimer timer;
        timer.start();
        QList<mkmdb::ListedWord> listed;
        QString error;
        if (!mkmdb::gatherWords(lists, &listed, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        if (!jet4::writeDatabaseFile(
                dir.filePath(u"dbWords.mdb"_s), {mkmdb::wordsTable(listed, false)}, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        builds.append(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("build dbWords.mdb from the word lists: median %.1f ms (%lld runs; target < 5000 "
                "ms)\n",
                median(builds),
                static_cast<long long>(builds.size()));
    return 0;
}
