// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The main window with its real services: the time from the start of the
// program to a visible, ready window with the shipped dictionary loaded, then
// every command of the results list on a million and on ten million lines,
// one line each: a run in each of the four orders (lines per second, how
// long Stop took, the peak memory per line above the idle window), switching
// the order and back (right after a run, "Best first" first and then "A to
// Z" first, and again once the orders are prepared: the time that takes is
// printed too), removing the first and the last line, saving,
// copying, the spreadsheet export (which stops at the sheet's last row), both filters and clearing.
// For each it prints the time until the list shows the outcome and the longest stretch in which the
// window processed no events; then how long a screen reader waits for the list's last row and for
// all its children. With
// --load, the files are loaded through "Load Phone Number From File" instead;
// with --spell, the numbers in the list (loaded or the bench's own) are
// spelled out. Both print the time and the peak memory of the command above
// the window before it.
//
//     digitome-window-bench [--lines N[,N...]] [--numbers FILE] [--runs ROUNDS]
//                           [--dictionary-from LIST | --dictionary-in FOLDER]
//     digitome-window-bench [--load FILE[,FILE...]] [--spell]
//
// --dictionary-from makes a dictionary of the word list LIST with
// digitome-dictionary first (in another process, timed apart) and starts the
// window with it, as if it were installed in the per-user data folder; the
// start-up figures then include the peak memory. --dictionary-in takes the
// dbWords.mdb of FOLDER instead, made before. --lines 0 stops after the
// start-up. --numbers converts the numbers of FILE, one a line (such as
// bench/ten-digit-numbers.txt), repeated to 30,000 numbers, instead of 2,000
// copies of 22222222222. --runs times only runs, in each order in turn,
// ROUNDS times.
//
// With --paste MB[,MB...], each size of text is pasted into the real prompt
// of "Add Phone Number or Numbers", once as a column of numbers and once as
// one long number, and the command timed with its longest stretch without
// events.
//
// Run it under a real X server (xvfb-run) for figures that include painting.

#include "app/ControlTable.h"
#include "app/ItemListView.h"
#include "app/MainWindow.h"
#include "app/ResultsOrderControl.h"
#include "core/Spreadsheet.h"
#include "lists/ListCommands.h"
#include "platform/MdbDatabase.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/SystemMemory.h"
#include "platform/XlsxSheet.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSettingsStore.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
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

// The spreadsheet application without the application: the real sheet in
// memory with its row limit, written to a file when shown.
class BenchSpreadsheet : public core::Spreadsheet
{
public:
    bool isAvailable() const override { return true; }
    std::unique_ptr<core::SpreadsheetApplication> create() override
    {
        return std::make_unique<Application>(m_folder.filePath(u"bench.xlsx"_s));
    }

private:
    class Application : public core::SpreadsheetApplication
    {
    public:
        explicit Application(QString path)
            : m_path(std::move(path))
        {}
        void addWorkbook() override {}
        void setCell(int row, int column, const QString &text) override
        {
            m_sheet.setCell(row, column, text);
        }
        void autofitColumn(int column) override { m_sheet.fitColumn(column); }
        void autofitAllColumns() override { m_sheet.fitAllColumns(); }
        void makeVisible() override { m_sheet.save(m_path); }

    private:
        QString m_path;
        platform::XlsxSheet m_sheet;
    };
    QTemporaryDir m_folder;
};

// Every command of the results list on a list of N lines, each measured for
// its time (until the list shows its outcome) and the longest stretch in
// which the window processed no events, seen by a 1 ms timer.
class CommandBench
{
public:
    using Order = core::ItemListModel::Order;

    CommandBench(app::MainWindow &window, FakeDialogs &dialogs, BenchSpreadsheet &spreadsheet)
        : m_window(window)
        , m_dialogs(dialogs)
        , m_spreadsheet(spreadsheet)
        , m_start(control<QPushButton>(app::Control::StartButton))
        , m_view(control<app::ItemListView>(app::Control::ResultsList))
        , m_order(window.findChild<app::ResultsOrderControl *>())
        , m_idle(statusBytes("VmRSS:"))
    {
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            tick();
        });
    }

    void runAll(int lines)
    {
        run(lines, Order::AsFound, "run, \"As found\"");
        // Switched at once, the orders are built from what the worker has
        // prepared during the run.
        switchTo(Order::BestFirst, "switch to \"Best first\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        switchTo(Order::AToZ, "switch to \"A to Z\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        // The same, "A to Z" first: it then gains nothing from the time the
        // other switch gave its worker.
        run(lines, Order::AsFound, "run, \"As found\", then A to Z");
        switchTo(Order::AToZ, "switch to \"A to Z\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        switchTo(Order::BestFirst, "switch to \"Best first\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        // A user who reads the results a moment first switches to orders the
        // worker has prepared meanwhile.
        run(lines, Order::AsFound, "run, \"As found\" again");
        measure(
            "orders prepared after the run",
            [] {},
            [this] {
                return !results().isPreparing();
            });
        switchTo(Order::BestFirst, "switch to \"Best first\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        switchTo(Order::AToZ, "switch to \"A to Z\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        switchTo(Order::BestNumberFirst, "switch to \"Best number first\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        removeRow(true, "remove the first line");
        removeRow(false, "remove the last line");
        save();
        copy();
        exportRows();
        filter(app::Control::RemoveNotContainingButton, u"A-A"_s, "remove not containing \"A-A\"");
        filter(app::Control::RemoveContainingButton, u"CAB"_s, "remove containing \"CAB\"");
        measure("clear", [this] {
            control<QPushButton>(app::Control::ClearResultsButton)->click();
        });
        run(lines, Order::BestFirst, "run, \"Best first\"");
        run(lines, Order::AToZ, "run, \"A to Z\"");
        run(lines, Order::BestNumberFirst, "run, \"Best number first\"");
        switchTo(Order::AsFound, "back to \"As found\"");
        screenReaderQuestions(*m_view);
        std::printf("\n");
    }

    // Only runs, the orders in turn `rounds` times: a slow phase of the
    // machine then shows in every order alike.
    void runsInTurn(int lines, int rounds)
    {
        for (int round = 0; round < rounds; ++round) {
            run(lines, Order::AsFound, "run, \"As found\"");
            run(lines, Order::BestFirst, "run, \"Best first\"");
            run(lines, Order::AToZ, "run, \"A to Z\"");
            run(lines, Order::BestNumberFirst, "run, \"Best number first\"");
        }
        std::printf("\n");
    }

private:
    template <typename Widget>
    Widget *control(app::Control which) const
    {
        return m_window.findChild<Widget *>(app::objectNameOf(which));
    }

    // The list itself: the window's resultsList() would first show the lines
    // it holds back, which a run in a sorted order does only from time to time.
    core::ItemListModel &results() { return *qobject_cast<core::ItemListModel *>(m_view->model()); }

    void tick()
    {
        if (m_sinceTick.isValid())
            m_longest = std::max(m_longest, m_sinceTick.elapsed());
        m_sinceTick.start();
        if (m_onTick)
            m_onTick();
    }

    // Runs `command`, then lets events in until `done` holds; prints the
    // time, the longest stretch without events and `note`.
    void measure(const char *name,
                 const std::function<void()> &command,
                 const std::function<bool()> &done = {},
                 const std::function<QString(qint64)> &note = {})
    {
        m_longest = 0;
        m_sinceTick.start();
        m_ticker.start();
        QElapsedTimer timer;
        timer.start();
        command();
        // Sleeps until the next event (the ticker's at the latest): a busy
        // wait would take a core from the workers being measured.
        while (done && !done())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 ms = timer.elapsed();
        m_longest = std::max(m_longest, m_sinceTick.elapsed());
        m_ticker.stop();
        m_onTick = nullptr;
        // What the command left to draw is drawn before the next one.
        QCoreApplication::processEvents();
        std::printf("%-32s %11s %9lld %9lld  %s\n",
                    name,
                    qPrintable(QLocale(QLocale::English).toString(results().rows())),
                    ms,
                    m_longest,
                    note ? qPrintable(note(ms)) : "");
        std::fflush(stdout);
    }

    void setOrder(Order order)
    {
        if (results().order() == order)
            return;
        m_order->setOrder(order);
        while (results().order() != order)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // A run of the 11-digit numbers, stopped once it has `lines` lines.
    void run(int lines, Order order, const char *name)
    {
        control<QPushButton>(app::Control::ClearResultsButton)->click();
        setOrder(order);
        QElapsedTimer sinceStop;
        m_onTick = [&] {
            if (!sinceStop.isValid() && results().storedLines() >= lines
                && m_start->text() == u"Stop"_s) {
                sinceStop.start();
                m_start->click();
            }
        };
        qint64 stopMs = 0;
        resetPeak();
        measure(
            name,
            [&] {
                m_start->click();
                stopMs = sinceStop.isValid() ? sinceStop.elapsed() : -1;
            },
            [&] {
                return !results().hasPending() && !results().isOrdering();
            },
            [&](qint64 ms) {
                // Lines made: "Best number first" shows a row per number.
                const double made = double(results().storedLines());
                return u"%1 M lines/s, Stop took %2 ms, %3 bytes a line"_s.arg(
                    QString::number(ms > 0 ? made / 1000.0 / ms : 0.0, 'f', 2),
                    QString::number(stopMs),
                    QString::number(
                        made > 0 ? double(statusBytes("VmHWM:") - m_idle) / made : 0.0, 'f', 1));
            });
    }

    void switchTo(Order order, const char *name)
    {
        QHeaderView *header = m_view->horizontalHeader();
        measure(
            name,
            [&] {
                // The header toggles "As found" and "Best first".
                const bool byHeader =
                    (order == Order::BestFirst && results().order() == Order::AsFound)
                    || (order == Order::AsFound && results().order() == Order::BestFirst);
                if (byHeader)
                    header->sectionClicked(0);
                else
                    m_order->setOrder(order);
            },
            [&] {
                return results().order() == order;
            });
    }

    // Selects the first or last row and presses Delete on it.
    void removeRow(bool first, const char *name)
    {
        const int row = first ? 0 : results().rows() - 1;
        m_view->setCurrentIndex(results().index(row, 0));
        const int before = results().rows();
        measure(
            name,
            [&] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
                QApplication::sendEvent(m_view, &press);
            },
            [&] {
                return results().rows() < before;
            });
    }

    void save()
    {
        QTemporaryDir folder;
        m_dialogs.saveAnswers.enqueue(folder.filePath(u"results.txt"_s));
        measure(
            "save as text",
            [&] {
                control<QPushButton>(app::Control::SaveTextButton)->click();
            },
            {},
            [&](qint64) {
                return u"%1 MB"_s.arg(QFileInfo(folder.filePath(u"results.txt"_s)).size() >> 20);
            });
    }

    void copy()
    {
        measure("copy", [&] {
            control<QPushButton>(app::Control::CopyButton)->click();
        });
        QGuiApplication::clipboard()->clear();
    }

    // The sheet holds fewer rows than the list: the export ends with its report.
    void exportRows()
    {
        const qsizetype reportsBefore = m_dialogs.errorReports().size();
        measure(
            "export to the spreadsheet",
            [&] {
                control<QPushButton>(app::Control::SpreadsheetButton)->click();
            },
            {},
            [&](qint64) {
                return m_dialogs.errorReports().size() > reportsBefore
                           ? u"report: "_s
                                 + m_dialogs.errorReports().constLast().section(u'\r', 0, 0)
                           : QString();
            });
    }

    void filter(app::Control button, const QString &text, const char *name)
    {
        m_dialogs.promptAnswers.enqueue(text);
        measure(name, [&] {
            control<QPushButton>(button)->click();
        });
    }

    app::MainWindow &m_window;
    FakeDialogs &m_dialogs;
    BenchSpreadsheet &m_spreadsheet;
    QPushButton *m_start;
    app::ItemListView *m_view;
    app::ResultsOrderControl *m_order;
    QTimer m_ticker;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0;
    std::function<void()> m_onTick;
    qint64 m_idle;
};

// Pastes `text` into the real prompt of "Add Phone Number or Numbers" and
// accepts it; prints the time of the paste, of the whole command, the
// longest stretch without events and what the command did.
void pasteIntoPrompt(app::MainWindow &window,
                     FakeDialogs &reports,
                     const char *name,
                     const QString &text)
{
    platform::QtDialogs dialogs(&window);
    const qsizetype reportsBefore = reports.errorReports().size();
    const int itemsBefore = window.numberList().rows();
    QTimer ticker;
    ticker.setInterval(1);
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.elapsed());
        sinceTick.start();
    });
    qint64 pasteMs = -1;
    QString report;
    // The prompt gets the text and is accepted; the report of a refusal, a
    // message box of its own, is read and closed.
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *prompt = qobject_cast<QInputDialog *>(modal); prompt && pasteMs < 0) {
            QGuiApplication::clipboard()->setText(text);
            QElapsedTimer paste;
            paste.start();
            auto *edit = prompt->findChild<QLineEdit *>();
            // As a user pastes: the shortcut, then the field drawn with the text.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
            QApplication::sendEvent(edit, &press);
            edit->repaint();
            pasteMs = paste.elapsed();
            prompt->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            report = box->text().section(u'\n', 0, 0);
            box->close();
        }
    });
    sinceTick.start();
    ticker.start();
    QElapsedTimer timer;
    timer.start();
    lists::addNumbers(window, dialogs);
    const qint64 ms = timer.elapsed();
    longest = std::max(longest, sinceTick.elapsed());
    if (reports.errorReports().size() > reportsBefore)
        report = reports.errorReports().constLast().section(u'\r', 0, 0);
    std::printf("%-32s %6.1f MB  paste %6lld ms, command %6lld ms, stretch %6lld ms, %d items "
                "added%s%s\n",
                name,
                text.size() / 1048576.0,
                pasteMs,
                ms,
                longest,
                window.numberList().rows() - itemsBefore,
                report.isEmpty() ? "" : ", report: ",
                qPrintable(report));
    std::fflush(stdout);
    QGuiApplication::clipboard()->clear();
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
    BenchSpreadsheet spreadsheet;
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
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

    const qsizetype pasteAt = arguments.indexOf(u"--paste"_s);
    if (pasteAt > 0) {
        for (const QString &size : arguments.value(pasteAt + 1).split(u',')) {
            const qsizetype bytes = qsizetype(size.toDouble() * 1048576);
            const QString number = u"22222222222"_s;
            QString column;
            while (column.size() < bytes)
                column += number + u"\r\n"_s;
            pasteIntoPrompt(window, dialogs, "paste a column of numbers", column);
            window.numberList().clear();
            pasteIntoPrompt(window, dialogs, "paste one long number", QString(bytes, u'2'));
            window.numberList().clear();
        }
        return 0;
    }

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

    // "Words and numbers" on 2-digit-heavy numbers gives many lines quickly;
    // --numbers FILE takes the numbers, one a line, from a file instead.
    window.findChild<QRadioButton *>(app::objectNameOf(app::Control::WordsAndNumbersOption))
        ->click();
    if (const qsizetype numbersAt = arguments.indexOf(u"--numbers"_s); numbersAt > 0) {
        QFile numbers(arguments.value(numbersAt + 1));
        if (!numbers.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(numbers.fileName()));
            return 1;
        }
        QStringList read;
        while (!numbers.atEnd())
            if (const QString number = QString::fromUtf8(numbers.readLine()).trimmed();
                !number.isEmpty())
                read.append(number);
        // Repeated, so that even numbers with few readings give 10 M lines;
        // added in one batch, as a loaded file is.
        QStringList repeated;
        while (!read.isEmpty() && repeated.size() < 30'000)
            repeated += read;
        window.numberList().appendBatch(repeated, false);
        std::printf("%lld numbers from %s, repeated to %d\n",
                    static_cast<long long>(read.size()),
                    qPrintable(numbers.fileName()),
                    window.numberList().rows());
    } else {
        window.numberList().appendBatch(QStringList(2000, u"22222222222"_s), false);
    }
    CommandBench bench(window, dialogs, spreadsheet);
    std::printf("\n%-32s %11s %9s %9s  %s\n", "command", "lines", "ms", "stretch", "");
    const qsizetype roundsAt = arguments.indexOf(u"--runs"_s);
    for (const int wantedLines : std::as_const(runs)) {
        if (roundsAt > 0)
            bench.runsInTurn(wantedLines, arguments.value(roundsAt + 1).toInt());
        else
            bench.runAll(wantedLines);
    }
    return 0;
}
