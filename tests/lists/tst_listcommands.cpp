// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "lists/ListCommands.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using core::Pointer;

namespace {

const QString TooManyFiles = u"You've selected too many files to add.\r\r"
                             u"Please try adding via the \"Add All\" button."_s;

// Dialogs whose plain message boxes fail, as a broken display might.
class FailingMessageDialogs : public FakeDialogs
{
public:
    void message(const QString &text, const QString &title, Icon icon) override
    {
        FakeDialogs::message(text, title, icon);
        if (title.isEmpty())
            throw core::Failure(u"Message box failed"_s);
    }
};

} // namespace

class TestListCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addSplitsAtCommasAndTrimsSpaces_data();
    void addSplitsAtCommasAndTrimsSpaces();
    void addAsksWithoutTitleAndAppendsAtTheEnd();
    void addWithEmptyAnswerDoesNothing();
    void addReportsCounterOverflow_data();
    void addReportsCounterOverflow();

    void loadOneFile();
    void loadSeveralFilesInTheDialogsOrder();
    void loadGoesOnAfterAFailingFile_data();
    void loadGoesOnAfterAFailingFile();
    void loadCollapsesDoubledSlashes();
    void loadCancelledDoesNothing();
    void loadShowsProgressStopsAndIsLimited_data();
    void loadShowsProgressStopsAndIsLimited();
    void loadSelectionLimit_data();
    void loadSelectionLimit();

    void clearList_data();
    void clearList();
    void clearResultsWorksWhileBusy();

    void listEvents_data();
    void listEvents();
    void removalKeepsCheckedMarksWithTheirItems();

    void filterCommands_data();
    void filterCommands();
    void filterOnEmptyResults_data();
    void filterOnEmptyResults();
    void filterCancelledChangesNothing();
    void filterFailureStillRestoresThePointer();
};

void TestListCommands::addSplitsAtCommasAndTrimsSpaces_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("blanks around numbers are trimmed, an empty piece stays")
        << u" 434-3453 , 234-9237"_s << QStringList{u"434-3453"_s, u"234-9237"_s};
    QTest::newRow("empty pieces and a trailing comma give empty items")
        << u"555,,777,"_s << QStringList{u"555"_s, QString(), u"777"_s, QString()};
    QTest::newRow("spaces only give one empty item") << u"   "_s << QStringList{QString()};
    QTest::newRow("a lone comma gives two empty items") << u","_s << QStringList{{}, {}};
    QTest::newRow("no comma gives one item") << u"434-3453"_s << QStringList{u"434-3453"_s};
    QTest::newRow("duplicates are kept")
        << u"434-3453,434-3453"_s << QStringList{u"434-3453"_s, u"434-3453"_s};
    QTest::newRow("case is kept") << u"1-800-flowers"_s << QStringList{u"1-800-flowers"_s};
    QTest::newRow("only spaces are trimmed, tabs stay")
        << u"\t5 \t, 6\u00a0"_s << QStringList{u"\t5 \t"_s, u"6\u00a0"_s};
    QTest::newRow("spaces inside a piece stay") << u" 434 3453 "_s << QStringList{u"434 3453"_s};
    QTest::newRow("a pasted column: each line break separates, the last adds nothing")
        << u"111\n222\r\n333\r444\r\n"_s << QStringList{u"111"_s, u"222"_s, u"333"_s, u"444"_s};
    QTest::newRow("a comma before a line break leaves an empty piece")
        << u"1,\n2"_s << QStringList{u"1"_s, QString(), u"2"_s};
    QTest::newRow("a blank line is an empty piece")
        << u"1\n\n2"_s << QStringList{u"1"_s, QString(), u"2"_s};
    QTest::newRow("a million characters are added whole")
        << QString(999'999, u'7') + u",8"_s << QStringList{QString(999'999, u'7'), u"8"_s};
}

void TestListCommands::addSplitsAtCommasAndTrimsSpaces()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);

    FakeWindow window;
    window.fakeDialogs.promptAnswers.enqueue(answer);
    lists::addNumbers(window, window.dialogs());

    QCOMPARE(testsupport::texts(window.numbers), expected);
    QVERIFY(window.fakeDialogs.errorReports().isEmpty());
}

void TestListCommands::addAsksWithoutTitleAndAppendsAtTheEnd()
{
    FakeWindow window;
    testsupport::fill(window.numbers, {u"1"_s}, true);
    window.fakeDialogs.promptAnswers.enqueue(u"2,3"_s);
    lists::addNumbers(window, window.dialogs());

    QCOMPARE(window.fakeDialogs.shown.size(), 1);
    QCOMPARE(window.fakeDialogs.shown.at(0).kind, u"prompt"_s);
    QCOMPARE(window.fakeDialogs.shown.at(0).text,
             u"Enter phone numbers or numbers (use commas): "_s);
    QCOMPARE(window.fakeDialogs.shown.at(0).title, QString());
    QCOMPARE(testsupport::texts(window.numbers), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
    QVERIFY(!window.numbers.isChecked(2));
    QVERIFY(window.pointerHistory.isEmpty());
}

void TestListCommands::addWithEmptyAnswerDoesNothing()
{
    FakeWindow window;
    window.fakeDialogs.promptAnswers.enqueue(QString());
    lists::addNumbers(window, window.dialogs());

    QCOMPARE(window.numbers.rows(), 0);
    QCOMPARE(window.fakeDialogs.shown.size(), 1);
}

void TestListCommands::addReportsCounterOverflow_data()
{
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("appended");
    QTest::addColumn<int>("reportedLine");

    QTest::newRow("32767 pieces fit the counter") << 32767 << 32767 << 0;
    QTest::newRow("32768 pieces are appended, then the counter overflows") << 32768 << 32768 << 114;
    QTest::newRow("more pieces overflow before any is appended") << 40000 << 0 << 108;
}

void TestListCommands::addReportsCounterOverflow()
{
    QFETCH(int, pieces);
    QFETCH(int, appended);
    QFETCH(int, reportedLine);

    FakeWindow window;
    QStringList numbers;
    for (int i = 0; i < pieces; ++i)
        numbers.append(QString::number(i));
    window.fakeDialogs.promptAnswers.enqueue(numbers.join(u','));
    lists::addNumbers(window, window.dialogs());

    QCOMPARE(window.numbers.rows(), appended);
    if (appended > 0)
        QCOMPARE(window.numbers.text(appended - 1), QString::number(appended - 1));
    const QStringList reports = window.fakeDialogs.errorReports();
    if (reportedLine == 0) {
        QVERIFY(reports.isEmpty());
        return;
    }
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.at(0).startsWith(u"Overflow\r\n"));
    QVERIFY2(reports.at(0).contains(u"Form1.PushButton6_Click at line "_s
                                    + QString::number(reportedLine) + u"\r\r"_s),
             qPrintable(reports.at(0)));
}

void TestListCommands::loadOneFile()
{
    QTemporaryDir dir;
    const QString path = testsupport::writeFile(dir.filePath(u"a.txt"_s), "434-3453\r\nabc\r\n"_ba);
    FakeWindow window;
    window.fakeDialogs.openAnswers.enqueue({path});
    lists::loadNumbersFromFile(window, window.dialogs());

    const FakeDialogs::Shown &open = window.fakeDialogs.shown.at(0);
    QCOMPARE(open.kind, u"open"_s);
    QCOMPARE(open.title, u"Load List(s) - Hold Ctrl to select multiple list files"_s);
    QCOMPARE(open.filters, (QStringList{u"Text Files (*.txt)"_s, u"All Files (*)"_s}));
    QCOMPARE(window.fakeDialogs.shown.size(), 1);
    QCOMPARE(testsupport::texts(window.numbers), (QStringList{u"434-3453"_s, u"ABC"_s}));
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestListCommands::loadSeveralFilesInTheDialogsOrder()
{
    QTemporaryDir dir;
    const QString a = testsupport::writeFile(dir.filePath(u"a.txt"_s), "1\r\n2\r\n"_ba);
    const QString b = testsupport::writeFile(dir.filePath(u"b.txt"_s), "3\n4"_ba);
    const QString c = testsupport::writeFile(dir.filePath(u"c.txt"_s), QByteArray());
    FakeWindow window;
    testsupport::fill(window.numbers, {u"0"_s}, true);
    window.fakeDialogs.openAnswers.enqueue({b, c, a});
    lists::loadNumbersFromFile(window, window.dialogs());

    QCOMPARE(testsupport::texts(window.numbers),
             (QStringList{u"0"_s, u"3"_s, u"4"_s, u"1"_s, u"2"_s}));
    QCOMPARE(window.fakeDialogs.shown.size(), 1);
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestListCommands::loadGoesOnAfterAFailingFile_data()
{
    QTest::addColumn<QString>("failing"); // "missing" or "folder"
    QTest::addColumn<bool>("alone");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("reportedLine");

    QTest::newRow("a missing file among several: File not found, the next loads")
        << u"missing"_s << false << QStringList{u"File not found"_s} << 0;
    QTest::newRow("a folder among several is reported at 134, the next loads")
        << u"folder"_s << false << QStringList() << 134;
    QTest::newRow("a missing file alone: File not found")
        << u"missing"_s << true << QStringList{u"File not found"_s} << 0;
    QTest::newRow("a folder alone is reported at 120")
        << u"folder"_s << true << QStringList() << 120;
}

void TestListCommands::loadGoesOnAfterAFailingFile()
{
    QFETCH(QString, failing);
    QFETCH(bool, alone);
    QFETCH(QStringList, messages);
    QFETCH(int, reportedLine);

    QTemporaryDir dir;
    const QString a = testsupport::writeFile(dir.filePath(u"a.txt"_s), "1\r\n"_ba);
    const QString b = testsupport::writeFile(dir.filePath(u"b.txt"_s), "2\r\n"_ba);
    QString bad = dir.filePath(u"gone.txt"_s);
    if (failing == u"folder") {
        QVERIFY(QDir(dir.path()).mkdir(u"sub.txt"_s));
        bad = dir.filePath(u"sub.txt"_s);
    }
    FakeWindow window;
    window.fakeDialogs.openAnswers.enqueue(alone ? QStringList{bad} : QStringList{a, bad, b});
    lists::loadNumbersFromFile(window, window.dialogs());

    QCOMPARE(testsupport::texts(window.numbers),
             (alone ? QStringList() : QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(window.fakeDialogs.messages(), messages);
    const QStringList reports = window.fakeDialogs.errorReports();
    if (reportedLine == 0) {
        QVERIFY(reports.isEmpty());
    } else {
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.at(0).contains(bad), qPrintable(reports.at(0)));
        QVERIFY(reports.at(0).contains(u"Form1.PushButton3_Click at line "_s
                                       + QString::number(reportedLine)));
    }
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestListCommands::loadCollapsesDoubledSlashes()
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath(u"a.txt"_s), "1"_ba);
    testsupport::writeFile(dir.filePath(u"b.txt"_s), "2"_ba);
    FakeWindow window;
    window.fakeDialogs.openAnswers.enqueue(
        {dir.path() + u"//a.txt"_s, u"/"_s + dir.path() + u"///b.txt"_s});
    lists::loadNumbersFromFile(window, window.dialogs());

    QCOMPARE(testsupport::texts(window.numbers), (QStringList{u"1"_s, u"2"_s}));
    QCOMPARE(window.fakeDialogs.shown.size(), 1);
}

void TestListCommands::loadCancelledDoesNothing()
{
    FakeWindow window;
    lists::loadNumbersFromFile(window, window.dialogs());

    QCOMPARE(window.fakeDialogs.shown.size(), 1);
    QCOMPARE(window.numbers.rows(), 0);
    QVERIFY(window.pointerHistory.isEmpty());
}

// A load yields after every chunk, showing the file and the numbers so far;
// "Stop" ends it with the numbers so far; files that hold more than 256 MB
// together are refused before any is read (the sizes: files without holes).
void TestListCommands::loadShowsProgressStopsAndIsLimited_data()
{
    // 0: two megabytes of numbers after a byte-order mark (read in one pass),
    // then a file with "2"
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<QString>("report"); // the start of the one report, if any

    QTest::newRow("to the end") << QList<qint64>{0} << false << QString();
    QTest::newRow("stopped at the first yield") << QList<qint64>{0} << true << QString();
    QTest::newRow("ten files of 100 MB together")
        << QList<qint64>(10, qint64(100) << 20) << false
        << u"The 10 chosen list files are larger than 256 MB together, too large to load at "
           u"once.\r\nin Numerill2021/08/31.Form1.PushButton3_Click at line 134"_s;
    QTest::newRow("one file of 300 MB")
        << QList<qint64>{qint64(300) << 20} << false
        << u"'%1' is larger than 256 MB, too large for a list file.\r\nin "
           u"Numerill2021/08/31.Form1.PushButton3_Click at line 120"_s;
}

void TestListCommands::loadShowsProgressStopsAndIsLimited()
{
    QFETCH(QList<qint64>, sizes);
    QFETCH(bool, stop);
    QFETCH(QString, report);
    QTemporaryDir dir;
    QStringList paths;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        paths.append(dir.filePath(u"%1.txt"_s.arg(i)));
        QFile file(paths.back());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(sizes[i] > 0 ? file.resize(sizes[i])
                             : file.write("\xef\xbb\xbf"_ba + "1\n"_ba.repeated(1 << 20)) > 0);
    }
    if (sizes == QList<qint64>{0})
        paths.append(testsupport::writeFile(dir.filePath(u"2.txt"_s), "2\r\n"_ba));
    FakeWindow window;
    window.fakeDialogs.openAnswers.enqueue(paths);
    window.onYield = [&] {
        window.stopLoading = stop;
    };
    lists::loadNumbersFromFile(window, window.dialogs());

    const QStringList reports = window.fakeDialogs.errorReports();
    if (!report.isEmpty()) {
        QCOMPARE(reports.size(), 1);
        QVERIFY2(reports.at(0).startsWith(report.arg(paths.value(0))), qPrintable(reports.at(0)));
        QCOMPARE(window.numbers.rows(), 0);
        QCOMPARE(window.yields, 0);
        QVERIFY(!window.captionHistory.contains(u"Stop"_s));
    } else {
        QCOMPARE(reports, QStringList());
        QVERIFY(window.yields > (stop ? 0 : 2));
        QVERIFY(!window.progressTexts.filter(u"Reading file: 0.txt ("_s).isEmpty());
        QCOMPARE(window.captionHistory, (QStringList{u"Stop"_s, u"Start Converting"_s}));
        // Stopped, the numbers so far stay and the second file is never read.
        QVERIFY(window.numbers.rows() > 0);
        QCOMPARE(window.numbers.rows() == (1 << 20) + 1, !stop);
        QCOMPARE(window.numbers.text(window.numbers.rows() - 1), stop ? u"1"_s : u"2"_s);
    }
    QCOMPARE(window.progressText, u"Progress Bar"_s);
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestListCommands::loadSelectionLimit_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("tooMany");

    QTest::newRow("a selection of 30000 characters is loaded") << 30000 << false;
    QTest::newRow("a selection of 30001 characters is too many") << 30001 << true;
}

void TestListCommands::loadSelectionLimit()
{
    QFETCH(int, length);
    QFETCH(bool, tooMany);

    // The folder, then names of up to 199 characters, each after a NUL; the
    // last name makes up the wanted length. None of the files exists.
    const QString folder = u"/lists-nowhere"_s;
    QStringList paths;
    int total = int(folder.size());
    for (int i = 0; total < length; ++i) {
        const int size = std::min(199, length - total - 1);
        QString name = QString::number(i);
        QVERIFY(size >= name.size());
        name += QString(size - name.size(), u'n');
        paths.append(folder + u'/' + name);
        total += 1 + size;
    }

    FakeWindow window;
    testsupport::fill(window.numbers, {u"0"_s}, true);
    window.fakeDialogs.openAnswers.enqueue(paths);
    lists::loadNumbersFromFile(window, window.dialogs());

    QCOMPARE(window.numbers.rows(), 1);
    if (tooMany) {
        QCOMPARE(window.fakeDialogs.messages(), QStringList{TooManyFiles});
        QCOMPARE(window.fakeDialogs.shown.last().title, QString());
        QCOMPARE(window.fakeDialogs.shown.last().icon, core::Dialogs::Icon::None);
        QVERIFY(window.pointerHistory.isEmpty());
    } else {
        QCOMPARE(window.fakeDialogs.messages(), QStringList(paths.size(), u"File not found"_s));
        QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
    }
}

void TestListCommands::clearList_data()
{
    QTest::addColumn<Pointer>("pointer");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("idle window: the list is emptied")
        << Pointer::Default << QStringList{u"1"_s, u"2"_s} << QStringList();
    QTest::newRow("custom pointer is not busy")
        << Pointer::Custom << QStringList{u"1"_s} << QStringList();
    QTest::newRow("busy window: the list stays")
        << Pointer::Hourglass << QStringList{u"1"_s, u"2"_s} << QStringList{u"1"_s, u"2"_s};
    QTest::newRow("empty list stays empty") << Pointer::Default << QStringList() << QStringList();
}

void TestListCommands::clearList()
{
    QFETCH(Pointer, pointer);
    QFETCH(QStringList, items);
    QFETCH(QStringList, expected);

    FakeWindow window;
    testsupport::fill(window.numbers, items, true);
    testsupport::fill(window.results, {u"R"_s}, true);
    window.currentPointer = pointer;
    lists::clearNumbers(window);

    QCOMPARE(testsupport::texts(window.numbers), expected);
    QCOMPARE(window.results.rows(), 1);
    QVERIFY(window.fakeDialogs.shown.isEmpty());
    QVERIFY(window.pointerHistory.isEmpty());
}

void TestListCommands::clearResultsWorksWhileBusy()
{
    FakeWindow window;
    testsupport::fill(window.numbers, {u"1"_s}, true);
    testsupport::fill(window.results, {u"A"_s, u"B"_s}, true);
    window.currentPointer = Pointer::Hourglass;
    lists::clearResults(window);

    QCOMPARE(window.results.rows(), 0);
    QCOMPARE(window.numbers.rows(), 1);
    // A run still going on appends to the emptied list.
    window.results.append(u"C"_s, true);
    QCOMPARE(testsupport::texts(window.results), QStringList{u"C"_s});
    lists::clearResults(window);
    lists::clearResults(window);
    QCOMPARE(window.results.rows(), 0);
    QVERIFY(window.fakeDialogs.shown.isEmpty());
}

void TestListCommands::listEvents_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("key");
    QTest::addColumn<Pointer>("pointer");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("expected");

    const QStringList five{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
    QTest::newRow("double-click removes the selected item, later ones move up")
        << true << 0 << Pointer::Default << 5 << 1 << QStringList{u"1"_s, u"3"_s, u"4"_s, u"5"_s};
    QTest::newRow("Delete removes the third of five")
        << false << int(Qt::Key_Delete) << Pointer::Default << 5 << 2
        << QStringList{u"1"_s, u"2"_s, u"4"_s, u"5"_s};
    QTest::newRow("Delete removes the last item")
        << false << int(Qt::Key_Delete) << Pointer::Default << 5 << 4 << five.mid(0, 4);
    QTest::newRow("Backspace removes nothing")
        << false << int(Qt::Key_Backspace) << Pointer::Default << 5 << 2 << five;
    QTest::newRow("the period key (code 46 among Qt keys) removes nothing")
        << false << int(Qt::Key_Period) << Pointer::Default << 5 << 2 << five;
    QTest::newRow("raw code 46 removes nothing")
        << false << 46 << Pointer::Default << 5 << 2 << five;
    QTest::newRow("busy window: double-click removes nothing")
        << true << 0 << Pointer::Hourglass << 5 << 2 << five;
    QTest::newRow("busy window: Delete removes nothing")
        << false << int(Qt::Key_Delete) << Pointer::Hourglass << 5 << 2 << five;
    QTest::newRow("custom pointer is not busy")
        << true << 0 << Pointer::Custom << 5 << 0 << five.mid(1);
    QTest::newRow("empty list: double-click does nothing")
        << true << 0 << Pointer::Default << 0 << -1 << QStringList();
    QTest::newRow("empty list: Delete does nothing")
        << false << int(Qt::Key_Delete) << Pointer::Default << 0 << -1 << QStringList();
    QTest::newRow("no selected item: double-click does nothing")
        << true << 0 << Pointer::Default << 5 << -1 << five;
    QTest::newRow("no selected item: Delete does nothing")
        << false << int(Qt::Key_Delete) << Pointer::Default << 5 << -1 << five;
    QTest::newRow("a selection past the end counts as none")
        << true << 0 << Pointer::Default << 5 << 5 << five;
}

void TestListCommands::listEvents()
{
    QFETCH(bool, doubleClick);
    QFETCH(int, key);
    QFETCH(Pointer, pointer);
    QFETCH(int, items);
    QFETCH(int, selected);
    QFETCH(QStringList, expected);

    const QStringList all{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s};
    // Both lists behave alike.
    for (const bool results : {false, true}) {
        FakeWindow window;
        window.currentPointer = pointer;
        core::ItemListModel &list = results ? window.results : window.numbers;
        core::ItemListModel &other = results ? window.numbers : window.results;
        testsupport::fill(list, all.mid(0, items), true);
        testsupport::fill(other, all, true);

        const bool removed = doubleClick ? lists::removeSelectedItem(window, list, selected)
                                         : lists::removeSelectedOnKey(window, list, key, selected);

        QCOMPARE(testsupport::texts(list), expected);
        QCOMPARE(removed, expected.size() < items);
        QCOMPARE(testsupport::texts(other), all);
        QVERIFY(window.fakeDialogs.shown.isEmpty());
        QVERIFY(window.pointerHistory.isEmpty());
    }
}

void TestListCommands::removalKeepsCheckedMarksWithTheirItems()
{
    FakeWindow window;
    window.results.append(u"A"_s, true);
    window.results.append(u"B"_s, false);
    window.results.append(u"C"_s, true);
    QVERIFY(lists::removeSelectedOnKey(window, window.results, Qt::Key_Delete, 1));

    QCOMPARE(testsupport::texts(window.results), (QStringList{u"A"_s, u"C"_s}));
    QVERIFY(window.results.isChecked(0));
    QVERIFY(window.results.isChecked(1));
}

void TestListCommands::filterCommands_data()
{
    QTest::addColumn<bool>("containing");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("expected");

    const QStringList results{u"four three"_s, u"Four Five"_s, u"six"_s};
    QTest::newRow("containing FOUR leaves six") << true << u"FOUR"_s << QStringList{u"six"_s};
    QTest::newRow("not containing four leaves the first two in order")
        << false << u"four"_s << results.mid(0, 2);
    QTest::newRow("containing: the answer is not trimmed")
        << true << u" five"_s << QStringList{u"four three"_s, u"six"_s};
    QTest::newRow("not containing a text that matches nothing removes everything")
        << false << u"seven"_s << QStringList();
}

void TestListCommands::filterCommands()
{
    QFETCH(bool, containing);
    QFETCH(QString, answer);
    QFETCH(QStringList, expected);

    FakeWindow window;
    testsupport::fill(window.results, {u"four three"_s, u"Four Five"_s, u"six"_s}, true);
    window.fakeDialogs.promptAnswers.enqueue(answer);
    containing ? lists::removeResultsContaining(window, window.dialogs())
               : lists::removeResultsNotContaining(window, window.dialogs());

    QCOMPARE(testsupport::texts(window.results), expected);
    QCOMPARE(window.fakeDialogs.shown.size(), 1);
    QCOMPARE(window.fakeDialogs.shown.at(0).text,
             containing ? u"Remove results containing this text: "_s
                        : u"Remove results not containing this text: "_s);
    QCOMPARE(window.fakeDialogs.shown.at(0).title, QString());
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestListCommands::filterOnEmptyResults_data()
{
    QTest::addColumn<bool>("containing");
    QTest::newRow("containing") << true;
    QTest::newRow("not containing") << false;
}

void TestListCommands::filterOnEmptyResults()
{
    QFETCH(bool, containing);

    FakeWindow window;
    window.currentPointer = Pointer::Hourglass; // during a run: no check first
    window.fakeDialogs.promptAnswers.enqueue(u"x"_s);
    containing ? lists::removeResultsContaining(window, window.dialogs())
               : lists::removeResultsNotContaining(window, window.dialogs());

    QCOMPARE(window.fakeDialogs.messages(), QStringList{u"There are no results to remove."_s});
    const FakeDialogs::Shown &box = window.fakeDialogs.shown.last();
    QCOMPARE(box.title, QString());
    QCOMPARE(box.icon, core::Dialogs::Icon::None);
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestListCommands::filterCancelledChangesNothing()
{
    for (const bool containing : {true, false}) {
        FakeWindow window;
        lists::removeResultsContaining(window, window.dialogs());
        testsupport::fill(window.results, {u"a"_s}, true);
        containing ? lists::removeResultsContaining(window, window.dialogs())
                   : lists::removeResultsNotContaining(window, window.dialogs());

        QCOMPARE(window.fakeDialogs.shown.size(), 2);
        QCOMPARE(window.fakeDialogs.shown.at(0).kind, u"prompt"_s);
        QCOMPARE(window.fakeDialogs.shown.at(1).kind, u"prompt"_s);
        QCOMPARE(window.results.rows(), 1);
        QVERIFY(window.pointerHistory.isEmpty());
    }
}

void TestListCommands::filterFailureStillRestoresThePointer()
{
    FakeWindow window;
    FailingMessageDialogs failing;
    failing.promptAnswers.enqueue(u"x"_s);
    lists::removeResultsNotContaining(window, failing);

    const QStringList reports = window.reports();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.at(0).startsWith(u"Message box failed\r\n"));
    QVERIFY(reports.at(0).contains(u"Form1.PushButton23_Click at line 118"));
    QCOMPARE(window.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

QTEST_GUILESS_MAIN(TestListCommands)
#include "tst_listcommands.moc"
