// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Loading a list file of a million numbers and filtering a million results.
//
//     digitome-lists-bench [count]
//     digitome-lists-bench --largest
//
// Prints the times and the peak resident memory (VmHWM), and exits with 1
// when a target is missed: loading under 2 s and 200 MB, each filter under
// 1 s. --largest loads a list file of the largest size read (256 MB) of
// short numbers and checks that the peak memory of the load stays within
// what the loaded list holds plus twice the file's size.

#include "core/ItemListModel.h"
#include "lists/ListFiles.h"
#include "lists/ResultFilters.h"
#include "tests/support/FakeDialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

// A field of /proc/self/status in MB ("VmHWM", "VmRSS").
double statusMegabytes(const char *field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // A /proc file has no size: read it whole rather than asking for its end.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field) && line.at(qstrlen(field)) == ':')
            return line.mid(qstrlen(field) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Peak resident memory of the process in MB, from /proc.
double peakResidentMegabytes()
{
    return statusMegabytes("VmHWM");
}

// Writes `lines` numbers of the form 000-0000 with CR LF to `path`.
bool writeNumbers(const QString &path, qint64 lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    for (qint64 i = 0; i < lines; ++i) {
        const QByteArray digits = QByteArray::number(i % 10'000'000).rightJustified(7, '0');
        chunk += digits.left(3) + '-' + digits.mid(3) + "\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size();
}

bool check(const char *what, double value, double limit, const char *unit);

// The largest list file: its load's peak against the list it leaves.
int loadLargest()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"largest.txt"_s);
    const qint64 lines = lists::MaxListFileSize / 10;
    if (!writeNumbers(path, lines)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 2;
    }
    const double fileMegabytes = double(QFileInfo(path).size()) / (1 << 20);
    std::printf("list file: %lld numbers, %.1f MB\n", qlonglong(lines), fileMegabytes);
    // The peak is counted from here: writing the file above is no part of it.
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1) {
        std::fprintf(stderr, "cannot reset the peak memory\n");
        return 2;
    }
    clear.close();
    const double before = statusMegabytes("VmRSS");
    FakeDialogs dialogs;
    core::ItemListModel numbers({u"Phone Number"_s});
    QElapsedTimer timer;
    timer.start();
    lists::loadListFile(dialogs, numbers, path);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (numbers.rows() != lines) {
        std::fprintf(stderr, "loaded %d items, expected %lld\n", numbers.rows(), qlonglong(lines));
        return 2;
    }
    const double list = statusMegabytes("VmRSS") - before;
    const double peak = peakResidentMegabytes() - before;
    std::printf("load time                                %10.3f s\n", seconds);
    std::printf("memory the loaded list holds             %10.1f MB\n", list);
    const bool met = check("peak memory of the load", peak, list + 2 * fileMegabytes, "MB");
    return met ? 0 : 1;
}

bool check(const char *what, double value, double limit, const char *unit)
{
    const bool met = value >= 0 && value < limit;
    std::printf("%-40s %10.3f %s  (target < %g %s) %s\n",
                what,
                value,
                unit,
                limit,
                unit,
                met ? "ok" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--largest")
        return loadLargest();
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 1'000'000;
    bool met = true;

    QTemporaryDir dir;
    const QString path = dir.filePath(u"numbers.txt"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 2;
        }
        QByteArray chunk;
        for (int i = 0; i < count; ++i) {
            const QByteArray digits = QByteArray::number(i).rightJustified(7, '0');
            chunk += digits.left(3) + '-' + digits.mid(3) + "\r\n";
            if (chunk.size() > (1 << 20)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
        std::printf("list file: %d numbers, %lld bytes\n", count, qlonglong(file.size()));
    }

    FakeDialogs dialogs;
    {
        core::ItemListModel numbers({u"Phone Number"_s});
        QElapsedTimer timer;
        timer.start();
        lists::loadListFile(dialogs, numbers, path);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (numbers.rows() != count) {
            std::fprintf(stderr, "loaded %d items, expected %d\n", numbers.rows(), count);
            return 2;
        }
        met &= check("load list file", seconds, 2.0, "s");
        met &= check("peak memory after loading (VmHWM)", peakResidentMegabytes(), 200.0, "MB");
    }

    // Result lines as a mnemonic run makes them; every other one has "FILE".
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append((i % 2 ? u"IF-I-FILE-"_s : u"GO-HIGHER-"_s) + QString::number(i));

    struct Case
    {
        const char *name;
        void (*filter)(core::ItemListModel &, const QString &, const std::function<void()> &);
        const char *text;
        int remaining;
    };
    const Case cases[] = {
        {"remove containing (every other goes)", &lists::removeItemsContaining, "file", count / 2},
        {"remove not containing (every other goes)",
         &lists::removeItemsNotContaining,
         "file",
         count - count / 2},
        {"remove containing (a few go)", &lists::removeItemsContaining, "-99999", 0},
    };
    for (const Case &c : cases) {
        core::ItemListModel results({u"Results"_s});
        results.appendBatch(lines, true);
        QElapsedTimer timer;
        timer.start();
        c.filter(results, QString::fromLatin1(c.text), {});
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (c.remaining > 0 && results.rows() != c.remaining) {
            std::fprintf(stderr, "%s left %d items\n", c.name, results.rows());
            return 2;
        }
        met &= check(c.name, seconds, 1.0, "s");
    }
    std::printf("peak memory of the whole run (VmHWM): %.1f MB\n", peakResidentMegabytes());
    return met ? 0 : 1;
}
