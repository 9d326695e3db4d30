// The main window with its real services: the time from the start of the
// program to a visible, ready window with the shipped dictionary loaded, and a
// mnemonic run that fills the results list with a million lines: lines per
// second into the list and the longest stretch without event processing.
//
//     digitome-window-bench [--lines N]
//
// Run it under a real X server (xvfb-run) for figures that include painting.

#include "app/Form1.h"
#include "platform/MdbDatabase.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/SettingsStore.h"
#include "platform/XlsxSpreadsheet.h"

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

// Settings kept in memory: the bench must not touch the user's options.
class MemorySettings : public platform::SettingsStore
{
public:
    QString read(const QString &,
                 const QString &,
                 const QString &key,
                 const QString &fallback) const override
    {
        return m_values.value(key, fallback);
    }
    void write(const QString &, const QString &, const QString &key, const QString &value) override
    {
        m_values.insert(key, value);
    }

private:
    QHash<QString, QString> m_values;
};

// Counts message boxes instead of showing them.
class CountingDialogs : public platform::Dialogs
{
public:
    int shown = 0;
    void message(const QString &text, const QString &, Icon) override
    {
        ++shown;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, const QString &) override { return false; }
    QString prompt(const QString &, const QString &) override { return {}; }
    QStringList openFiles(const QString &, const QStringList &) override { return {}; }
    QString saveFile(const QString &, const QStringList &) override { return {}; }
};

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

    CountingDialogs dialogs;
    MemorySettings settings;
    platform::QtClipboard clipboard;
    platform::XlsxSpreadsheet spreadsheet;
    platform::MdbDatabase database;
    app::Form1 window({dialogs,
                       settings,
                       clipboard,
                       spreadsheet,
                       [&database] {
                           return database.createConnection();
                       },
                       QCoreApplication::applicationDirPath(),
                       [] {}});
    window.Form_Load();
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
                dialogs.shown);

    // "Words and numbers" on 2-digit-heavy numbers gives many lines quickly.
    window.Option3->click();
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
        if (window.resultsList().rows() >= wantedLines && window.PushButton17->text() == u"Stop"_s)
            window.PushButton17->click();
    });
    ticker.start();
    QElapsedTimer run;
    run.start();
    window.PushButton17->click();
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
