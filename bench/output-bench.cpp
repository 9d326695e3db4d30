// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Writing the results out: saving a million result lines as a column-aligned
// text file, building the clipboard text of a million lines, and exporting
// 100,000 lines to the .xlsx workbook (up to the start of the spreadsheet
// program, which is /bin/true here).
//
//     digitome-output-bench [lines]
//
// Prints the times and exits with 1 when a target is missed: save < 2 s,
// clipboard text < 2 s, export < 3 s.

#include "output/ClipboardCopy.h"
#include "output/OutputCommands.h"
#include "output/TextFileWriter.h"
#include "platform/XlsxSpreadsheet.h"
#include "tests/support/FakeWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void fillResults(core::ItemListModel &list, int lines)
{
    static const QString words[] = {u"IF-I-FILE"_s, u"HIDE-4-GIFT"_s, u"GO-BEEF-MEAT"_s};
    QStringList texts;
    texts.reserve(lines);
    for (int i = 0; i < lines; ++i)
        texts.append(words[i % 3] + u'-' + QString::number(i));
    list.clear();
    list.appendBatch(texts, true);
}

bool check(const char *what, double seconds, double limit)
{
    const bool met = seconds < limit;
    std::printf("%-52s %8.3f s  (target < %g s) %s\n", what, seconds, limit, met ? "ok" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int lines = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1'000'000;
    const int exportLines = std::min(lines, 100'000);
    QTemporaryDir dir;
    platform::XlsxSpreadsheet::Options options;
    options.programs = {u"/bin/true"_s};
    options.folder = dir.filePath(u"cache"_s);
    platform::XlsxSpreadsheet spreadsheet(options);
    FakeWindow window;
    window.spreadsheetOverride = &spreadsheet;
    window.recordProgress = false;
    bool met = true;
    QElapsedTimer timer;

    fillResults(window.results, lines);
    const QString path = dir.filePath(u"results.txt"_s);
    timer.start();
    const bool saved = output::writeAlignedText(window.results, path, &window, window, [&] {
        window.yield();
    });
    const double saveSeconds = timer.nsecsElapsed() / 1e9;
    met &= saved;
    std::printf(
        "saved %d lines: %lld bytes, %lld yields\n", lines, QFileInfo(path).size(), window.yields);
    met &= check("save the results as a text file", saveSeconds, 2);

    timer.start();
    const QString text = output::clipboardText(window.results, [&] {
        window.yield();
    });
    const double clipboardSeconds = timer.nsecsElapsed() / 1e9;
    std::printf("clipboard text of %d lines: %lld characters\n", lines, qlonglong(text.size()));
    met &= check("build the clipboard text", clipboardSeconds, 2);

    fillResults(window.results, exportLines);
    timer.start();
    output::exportResultsToSpreadsheet(window, window.dialogs(), window.spreadsheet());
    const double exportSeconds = timer.nsecsElapsed() / 1e9;
    const QStringList workbooks = QDir(options.folder).entryList({u"*.xlsx"_s});
    met &= workbooks.size() == 1 && window.fakeDialogs.shown.isEmpty();
    std::printf("exported %d lines: %s, %lld bytes\n",
                exportLines,
                qPrintable(workbooks.value(0)),
                QFileInfo(QDir(options.folder).filePath(workbooks.value(0))).size());
    met &= check("export the results to the .xlsx workbook", exportSeconds, 3);
    return met ? 0 : 1;
}
