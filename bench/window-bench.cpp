// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The main window with its real services: the time from the start of the
// program to a visible, ready window with the shipped dictionary loaded, and a
// mnemonic run that fills the results list with a million lines: lines per
// second into the list and the longest stretch without event processing.
//
//     digitome-window-bench [--lines N]
//
// Run it under a real X server (xvfb-run) for figures that include painting.

#include "ControlTable.h"
#include "FakeDialogs.h"
#include "FakeSettingsStore.h"
#include "MainWindow.h"
#include "MdbDatabase.h"
#include "QtClipboard.h"
#include "QtDialogs.h"
#include "XlsxSpreadsheet.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

double peakMegabytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype linesAt = arguments.indexOf(u"--lines"_s);
    const int wantedLines = linesAt > 0 ? arguments.value(linesAt + 1).toInt() : 1'000'000;

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
                            {{}, QCoreApplication::applicationDirPath()},
                            [] {}});
    window.startUp();
    window.show();
    bool exposed = false;
    while (!exposed) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        exposed = window.windowHandle() && window.windowHandle()->isExposed();
    }
    QCoreApplication::processEvents();
    std::printf("start-up to a visible window: %lld ms (%lld words, %d messages)\n",
                sinceStart.elapsed(),
                static_cast<long long>(window.wordStore().size()),
                int(dialogs.shown.size()));

    // "Words and numbers" on 2-digit-heavy numbers gives many lines quickly.
    auto *startButton =
        window.findChild<QPushButton *>(app::objectNameOf(app::Control::StartButton));
    window.findChild<QRadioButton *>(app::objectNameOf(app::Control::WordsAndNumbersOption))
        ->click();
    const QString number = u"22222222222"_s;
    for (int i = 0; i < 200; ++i)
        window.numberList().append(number);

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
    std::printf("mnemonic run: %d lines in %lld ms = %.0f lines/s into the results list\n",
                lines,
                ms,
                ms > 0 ? lines * 1000.0 / ms : 0.0);
    std::printf("longest time without processing events: %lld ms\n", longestGap);
    std::printf("peak memory: %.0f MB\n", peakMegabytes());
    return 0;
}
