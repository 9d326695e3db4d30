// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The main window with its real services: the time from the start of the
// program to a visible, ready window with the shipped dictionary loaded, and
// mnemonic runs that fill the results list with a million and ten million
// lines: lines per second into the list, the longest stretch without event
// processing, the peak memory above the idle window per line kept, and the
// time to switch the list to "Best first" and back, and how long a screen
// reader waits for the list's last row and for all its children. With
// --load, the files are loaded through "Load Phone Number From File" instead;
// with --spell, the numbers in the list (loaded or the bench's own) are
// spelled out. Both print the time and the peak memory of the command above
// the window before it.
//
//     digitome-window-bench [--lines N[,N...]] [--dictionary-from LIST | --dictionary-in FOLDER]
//     digitome-window-bench [--load FILE[,FILE...]] [--spell]
//
// --dictionary-from makes a dictionary of the word list LIST with
// digitome-dictionary first (in another process, timed apart) and starts the
// window with it, as if it were installed in the per-user data folder; the
// start-up figures then include the peak memory. --dictionary-in takes the
// dbWords.mdb of FOLDER instead, made before. --lines 0 stops after the
// start-up.
//
// Run it under a real X server (xvfb-run) for figures that include painting.

#include "app/ControlTable.h"
#include "app/ItemListView.h"
#include "app/MainWindow.h"
#include "platform/MdbDatabase.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/SystemMemory.h"
#include "platform/XlsxSpreadsheet.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSettingsStore.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>

using namespace Qt::Literals::StringLiterals;

namespace {

// A value of /proc/self/status in bytes ("VmHWM", "VmRSS").
qint64 statusBytes(const char *field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').first().toLongLong()
                   * 1024;
    return 0;
}

// Makes the peak (VmHWM) start again from the memory in use now.
void resetPeak()
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// What a screen reader asks of a list, timed: its interface, the text of its
// last row, and all its children with their names (the bridge gives each an
// id).
void screenReaderQuestions(QWidget &list)
{
    QElapsedTimer asked;
    asked.start();
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&list);
    const double interfaceMs = asked.nsecsElapsed() / 1e6;
    asked.restart();
    const int rows = accessible->tableInterface()->rowCount();
    const QString last = accessible->tableInterface()->cellAt(rows - 1, 0)->text(QAccessible::Name);
    const double lastMs = asked.nsecsElapsed() / 1e6;
    asked.restart();
    const int children = accessible->childCount();
    qsizetype named = 0;
    for (int i = 0; i < children; ++i) {
        QAccessibleInterface *child = accessible->child(i);
        QAccessible::uniqueId(child);
        named += child->text(QAccessible::Name).isEmpty() ? 0 : 1;
    }
    std::printf("screen reader, list of %d rows: its interface %.3f ms, the last row's text "
                "(%s) %.3f ms, all %d children (%lld named) %.3f ms\n",
                rows,
                interfaceMs,
                qPrintable(last),
                lastMs,
                children,
                static_cast<long long>(named),
                asked.nsecsElapsed() / 1e6);
}

} // namespace

// Makes a dictionary of `list` in `folder` with digitome-dictionary; false
// when it fails.
bool makeDictionary(const QString &list, const QString &folder)
{
    QProcess make;
    make.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer timer;
    timer.start();
    make.start(QCoreApplication::applicationDirPath() + u"/digitome-dictionary"_s,
               {u"make"_s, list, u"-o"_s, folder + u"/dbWords.mdb"_s});
    if (!make.waitForFinished(-1) || make.exitStatus() != QProcess::NormalExit
        || make.exitCode() != 0)
        return false;
    std::printf("digitome-dictionary make %s: %lld ms\n", qPrintable(list), timer.elapsed());
    return true;
}

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype linesAt = arguments.indexOf(u"--lines"_s);
    QList<int> runs{1'000'000, 10'000'000};
    if (linesAt > 0) {
        runs.clear();
        for (const QString &count : arguments.value(linesAt + 1).split(u','))
            if (count.toInt() > 0)
                runs.append(count.toInt());
    }
    const qsizetype listAt = arguments.indexOf(u"--dictionary-from"_s);
    QTemporaryDir userFolder;
    // Processor time as well: other programs on the machine do not stretch it.
    std::clock_t startProcessor = 0;
    QString dictionaryFolder;
    if (listAt > 0) {
        if (!makeDictionary(arguments.value(listAt + 1), userFolder.path()))
            return 1;
        dictionaryFolder = userFolder.path();
        // The window's start-up is timed on its own.
        sinceStart.start();
        startProcessor = std::clock();
    } else if (const qsizetype folderAt = arguments.indexOf(u"--dictionary-in"_s); folderAt > 0) {
        dictionaryFolder = arguments.value(folderAt + 1);
        sinceStart.start();
        startProcessor = std::clock();
    }

    FakeDialogs dialogs;
    FakeSettingsStore settings;
    platform::QtClipboard clipboard;
    platform::XlsxSpreadsheet spreadsheet;
    platform::MdbDatabase database;
    app::MainWindow window({dialogs,
                            settings,
                            clipboard,
                            spreadsheet,
                            [&database] {
                                return database.createConnection();
                            },
                            {dictionaryFolder, QCoreApplication::applicationDirPath()},
                            [] {},
                            &platform::availableMemory});
    window.startUp();
    window.show();
    const qsizetype loadAt = arguments.indexOf(u"--load"_s);
    const bool spell = arguments.contains(u"--spell"_s);
    bool exposed = false;
    while (!exposed) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        exposed = window.windowHandle() && window.windowHandle()->isExposed();
    }
    QCoreApplication::processEvents();
    std::printf("start-up to a visible window: %lld ms, processor %.0f ms (%lld words, %d "
                "messages), peak memory %.0f MB\n",
                sinceStart.elapsed(),
                double(std::clock() - startProcessor) * 1000.0 / CLOCKS_PER_SEC,
                static_cast<long long>(window.wordStore().size()),
                int(dialogs.shown.size()),
                statusBytes("VmHWM:") / 1048576.0);

    auto *startButton =
        window.findChild<QPushButton *>(app::objectNameOf(app::Control::StartButton));
    if (loadAt > 0 || spell) {
        if (loadAt > 0) {
            dialogs.openAnswers.enqueue(arguments.value(loadAt + 1).split(u','));
            const qint64 before = statusBytes("VmRSS:");
            resetPeak();
            QElapsedTimer load;
            load.start();
            window.findChild<QPushButton *>(app::objectNameOf(app::Control::LoadFileButton))
                ->click();
            std::printf("load: %d items in %lld ms, peak %.0f MB above the window before it, "
                        "%d messages\n",
                        window.numberList().rows(),
                        load.elapsed(),
                        (statusBytes("VmHWM:") - before) / 1048576.0,
                        int(dialogs.shown.size()));
            for (const FakeDialogs::Shown &shown : std::as_const(dialogs.shown))
                if (shown.kind == u"message"_s)
                    std::printf("  message: %s\n", qPrintable(shown.text.left(200)));
        }
        if (spell) {
            window.findChild<QRadioButton *>(app::objectNameOf(app::Control::SpellOutOption))
                ->click();
            const qint64 before = statusBytes("VmRSS:");
            resetPeak();
            QElapsedTimer run;
            run.start();
            startButton->click();
            std::printf("spelled out: %d lines, the list holding %.0f MB, in %lld ms, peak %.0f MB "
                        "above the window before the run\n",
                        window.resultsList().rows(),
                        window.resultsList().bytesUsed() / 1048576.0,
                        run.elapsed(),
                        (statusBytes("VmHWM:") - before) / 1048576.0);
        }
        return 0;
    }

    // "Words and numbers" on 2-digit-heavy numbers gives many lines quickly.
    window.findChild<QRadioButton *>(app::objectNameOf(app::Control::WordsAndNumbersOption))
        ->click();
    const QString number = u"22222222222"_s;
    for (int i = 0; i < 2000; ++i)
        window.numberList().append(number);

    const qint64 idle = statusBytes("VmRSS:");
    for (const int wantedLines : std::as_const(runs)) {
        window.resultsList().clear();
        resetPeak();
        // A 1 ms timer measures how long the window goes without processing
        // events; the run is stopped once it has produced the lines wanted.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (sinceTick.isValid())
                longestGap = std::max(longestGap, sinceTick.elapsed());
            sinceTick.start();
            if (window.resultsList().rows() >= wantedLines && startButton->text() == u"Stop"_s)
                startButton->click();
        });
        ticker.start();
        QElapsedTimer run;
        run.start();
        startButton->click();
        const qint64 ms = run.elapsed();
        ticker.stop();
        const int lines = window.resultsList().rows();
        const qint64 peak = statusBytes("VmHWM:");
        std::printf("mnemonic run: %d lines in %lld ms = %.0f lines/s into the results list\n",
                    lines,
                    ms,
                    ms > 0 ? lines * 1000.0 / ms : 0.0);
        std::printf("longest time without processing events: %lld ms\n", longestGap);
        std::printf("peak memory: %.0f MB, %.0f MB above the idle window\n",
                    peak / 1048576.0,
                    (peak - idle) / 1048576.0);
        std::printf("bytes per result line: %.1f\n", lines > 0 ? double(peak - idle) / lines : 0.0);
        std::printf("of which the list's own store: %.1f\n",
                    lines > 0 ? double(window.resultsList().bytesUsed()) / lines : 0.0);

        // Switching the order of the whole list, as the header does it.
        auto *resultsView =
            window.findChild<app::ItemListView *>(app::objectNameOf(app::Control::ResultsList));
        QHeaderView *header = resultsView->horizontalHeader();
        QElapsedTimer order;
        order.start();
        header->sectionClicked(0);
        QCoreApplication::processEvents();
        const qint64 toBest = order.restart();
        header->sectionClicked(0);
        QCoreApplication::processEvents();
        std::printf("switching to \"Best first\": %lld ms, back to \"As found\": %lld ms\n",
                    toBest,
                    order.elapsed());
        screenReaderQuestions(*resultsView);
    }
    return 0;
}
