// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/OutputCommands.h"
#include "output/TextFileWriter.h"
#include "tests/output/ListBuilder.h"
#include "tests/support/FailingDevice.h"
#include "tests/support/FakeWindow.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TestHelpers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

} // namespace

class TestSaveText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void fileNameFromPath_data();
    void fileNameFromPath();

    void layout_data();
    void layout();
    void progress();
    void progressEveryThousandRows();
    void listGrowsWhileWriting();
    void rowsVanishWhileWriting();
    void failingDevice_data();
    void failingDevice();

    void writesFile();
    void replacesExistingFileWhole();
    void oldFileIntactWhileWriting();
    void uncreatableFile_data();
    void uncreatableFile();
    void saveTargets_data();
    void saveTargets();
    void failedWriteGivesTheSystemsReason();

    void commandCancelled();
    void commandWritesNewFile();
    void commandOverwriteQuestion_data();
    void commandOverwriteQuestion();
    void commandFailedSaveIsNotDone();

private:
    QByteArray saveToBytes(const core::ItemListModel &list);
    // Runs `action` at the n-th yield after the progress value first was 20,
    // i.e. once the widths are known and the header line is written.
    void atRowYield(int n, std::function<void()> action);

    QTemporaryDir m_dir;
    FakeWindow m_window;
};

void TestSaveText::init()
{
    QVERIFY(m_dir.isValid());
    m_window.fakeDialogs.shown.clear();
    m_window.progressValues.clear();
    m_window.progressTexts.clear();
    m_window.pointerHistory.clear();
    m_window.onYield = nullptr;
    m_window.yields = 0;
}

QByteArray TestSaveText::saveToBytes(const core::ItemListModel &list)
{
    QBuffer buffer;
    const bool saved =
        output::writeAlignedText(list, &buffer, u"out.txt"_s, &m_window, m_window.fakeDialogs, [&] {
            m_window.yield();
        });
    if (!saved)
        return "<failed>";
    return buffer.data();
}

void TestSaveText::atRowYield(int n, std::function<void()> action)
{
    auto seen = std::make_shared<int>(0);
    m_window.onYield = [this, n, seen, action] {
        if (*seen > 0 || m_window.progressValues.contains(20.0))
            if (++*seen == n)
                action();
    };
}

void TestSaveText::fileNameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("after the last slash") << u"/home/user/results.txt"_s << u"results.txt"_s;
    QTest::newRow("after the last backslash") << u"C:\\Users\\me\\out.txt"_s << u"out.txt"_s;
    QTest::newRow("whichever separator comes last") << u"a\\b/c\\d.txt"_s << u"d.txt"_s;
    QTest::newRow("a path without separator is the name") << u"out.txt"_s << u"out.txt"_s;
    QTest::newRow("a trailing separator gives the empty name") << u"C:\\dir\\"_s << QString();
    QTest::newRow("the empty path gives the empty name") << QString() << QString();
}

void TestSaveText::fileNameFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(output::fileNameOfPath(path), name);
}

void TestSaveText::layout_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<TestRows>("rows");
    QTest::addColumn<QByteArray>("expected");

    const QStringList results{u"Results"_s};
    QTest::newRow("an empty list gives the header line alone")
        << results << TestRows{} << QByteArray("Results\t\r\n");
    QTest::newRow("unchecked rows widen the column but are not written")
        << results
        << TestRows{{{u"ABCDEFGHI"_s}, true}, {{u"ABCDEFGHIJKL"_s}, false}, {{u"ABCDEFG"_s}, true}}
        << QByteArray("Results     \t\r\n"
                      "ABCDEFGHI   \t\r\n"
                      "ABCDEFG     \t\r\n");
    QTest::newRow("all rows unchecked: the header padded to the longest row")
        << results << TestRows{{{u"IF-I-FILE-LONG"_s}, false}, {{u"A"_s}, false}}
        << QByteArray("Results       \t\r\n");
    QTest::newRow("a long header widens its column")
        << QStringList{u"Long Header Text"_s} << TestRows{{{u"AB"_s}, true}}
        << QByteArray("Long Header Text\t\r\nAB              \t\r\n");
    QTest::newRow("every column padded to its own width, the last one too")
        << QStringList{u"A"_s, u"Bee"_s, u"C"_s}
        << TestRows{{{u"one"_s, u"x"_s, u"three"_s}, true},
                    {{u"fourteen"_s, u"yy"_s, u""_s}, false},
                    {{u""_s, u"zzzz"_s, u"c"_s}, true}}
        << QByteArray("A       \tBee \tC    \t\r\n"
                      "one     \tx   \tthree\t\r\n"
                      "        \tzzzz\tc    \t\r\n");
    QTest::newRow("missing sub-items are empty texts")
        << QStringList{u"A"_s, u"B"_s} << TestRows{{{u"long"_s}, true}, {{u"x"_s, u"yyy"_s}, true}}
        << QByteArray("A   \tB  \t\r\n"
                      "long\t   \t\r\n"
                      "x   \tyyy\t\r\n");
    QTest::newRow("TABs and trailing spaces in texts are kept and counted")
        << results << TestRows{{{u"A\tB  "_s}, true}, {{u"  "_s}, true}}
        << QByteArray("Results\t\r\nA\tB    \t\r\n       \t\r\n");
    QTest::newRow("line breaks inside a text are written as they are")
        << results << TestRows{{{u"A\r\nB"_s}, true}} << QByteArray("Results\t\r\nA\r\nB   \t\r\n");
    QTest::newRow("widths count characters; the text is UTF-8 without byte-order mark")
        << results << TestRows{{{u"ÄÖÜ-ß"_s}, true}, {{u"日本"_s}, true}}
        << QByteArray("Results\t\r\n"
                      "\xc3\x84\xc3\x96\xc3\x9c-\xc3\x9f  \t\r\n"
                      "\xe6\x97\xa5\xe6\x9c\xac     \t\r\n");
    QTest::newRow("\"=\" and quotes are plain text here")
        << results << TestRows{{{u"=A1+\"B\""_s}, true}}
        << QByteArray("Results\t\r\n=A1+\"B\"\t\r\n");
}

void TestSaveText::layout()
{
    QFETCH(QStringList, headers);
    QFETCH(TestRows, rows);
    QFETCH(QByteArray, expected);
    core::ItemListModel list;
    fillList(list, headers, rows);
    QCOMPARE(saveToBytes(list), expected);
    QCOMPARE(m_window.fakeDialogs.errorReports(), QStringList());
}

void TestSaveText::progress()
{
    core::ItemListModel &list = m_window.results;
    fillList(list, {u"Results"_s}, {{{u"A"_s}, true}, {{u"B"_s}, false}, {{u"C"_s}, true}});
    QBuffer buffer;
    QVERIFY(output::writeAlignedText(
        list, &buffer, u"C:\\Users\\me\\list.txt"_s, &m_window, m_window.fakeDialogs, [&] {
            m_window.yield();
        }));
    // Rows 1 and 3 of 3 are checked: (1 + 0) / 3 and (3 + 0) / 3 of 100.
    const QList<double> values{1, 10, 20, 100.0 / 3, 100, 100, 0};
    QCOMPARE(m_window.progressValues.size(), values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        QVERIFY2(qFuzzyCompare(m_window.progressValues.at(i), values.at(i)),
                 qPrintable(QString::number(i)));
    const QString caption = u"Writing file: list.txt"_s;
    QCOMPARE(m_window.progressTexts,
             (QStringList{caption, caption, caption, u"Done."_s, u"Progress Bar"_s}));
    QVERIFY(m_window.yields > 0);

    // Without a progress bar the file is the same.
    QBuffer quiet;
    QVERIFY(output::writeAlignedText(list, &quiet, u"list.txt"_s, nullptr, m_window.fakeDialogs));
    QCOMPARE(quiet.data(), buffer.data());
}

void TestSaveText::progressEveryThousandRows()
{
    // 2500 rows; row 1000 is unchecked, so its number never shows.
    QStringList texts;
    for (int i = 1; i <= 2500; ++i)
        texts.append(QString::number(i));
    core::ItemListModel &list = m_window.results;
    list.clear();
    list.appendBatch(texts, true);
    list.setChecked(999, false);
    QVERIFY(saveToBytes(list).startsWith("Results\t\r\n1      \t\r\n"));

    const QString caption = u"Writing file: out.txt"_s;
    QVERIFY(m_window.progressTexts.contains(caption + u" (2000)"_s));
    QVERIFY(!m_window.progressTexts.contains(caption + u" (1000)"_s));
    QVERIFY(!m_window.progressTexts.contains(caption + u" (2500)"_s));
    // With 2000 rows or more the value passes 100 near the end, as it is.
    const QList<double> &values = m_window.progressValues;
    QVERIFY(qFuzzyCompare(values.at(values.size() - 3), (2500.0 + 1) / 2500 * 100));
    QCOMPARE(values.last(), 0.0);
}

void TestSaveText::listGrowsWhileWriting()
{
    core::ItemListModel &list = m_window.results;
    fillList(list, {u"Results"_s}, {{{u"AB"_s}, true}, {{u"CD"_s}, true}});
    // At the first row, row 2 is replaced by a longer one and a row is
    // appended: the long text is written without padding, the new row not.
    atRowYield(2, [&] {
        list.removeAt(1);
        list.append(u"LONGER THAN HEADER"_s, true);
        list.append(u"NEW"_s, true);
    });
    QCOMPARE(saveToBytes(list), QByteArray("Results\t\r\nAB     \t\r\nLONGER THAN HEADER\t\r\n"));
    QCOMPARE(m_window.fakeDialogs.errorReports(), QStringList());
}

void TestSaveText::rowsVanishWhileWriting()
{
    core::ItemListModel &list = m_window.results;
    QStringList texts;
    for (int i = 0; i < 100; ++i)
        texts.append(u"ROW"_s + QString::number(i));
    list.clear();
    list.appendBatch(texts, true);
    // The list is cleared at the last yield of the second row (each row
    // yields four times): one report, the rows written so far stay.
    atRowYield(9, [&] {
        list.clear();
    });
    const QByteArray bytes = saveToBytes(list);
    QCOMPARE(bytes, QByteArray("Results\t\r\nROW0   \t\r\nROW1   \t\r\n"));
    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains(u"Main.SaveListviewProperlySpaced at line 188"_s),
             qPrintable(reports.first()));
}

void TestSaveText::failingDevice_data()
{
    QTest::addColumn<qint64>("capacity");
    QTest::addColumn<bool>("refuseOpen");
    QTest::addColumn<int>("statement");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("a device that cannot be opened") << qint64(1000) << true << 156 << QByteArray();
    QTest::newRow("full before the header line") << qint64(5) << false << 170 << QByteArray();
    QTest::newRow("full in the middle of the rows")
        << qint64(25) << false << 222 << QByteArray("Results\t\r\nAAAAAA \t\r\n");
}

void TestSaveText::failingDevice()
{
    QFETCH(qint64, capacity);
    QFETCH(bool, refuseOpen);
    QFETCH(int, statement);
    QFETCH(QByteArray, written);
    core::ItemListModel list({u"Results"_s});
    list.appendBatch({u"AAAAAA"_s, u"BBBBBB"_s, u"CCCCCC"_s, u"DDDDDD"_s}, true);

    FailingDevice device(capacity, refuseOpen);
    QVERIFY(
        !output::writeAlignedText(list, &device, u"out.txt"_s, &m_window, m_window.fakeDialogs));
    QCOMPARE(device.data(), written);
    // One report naming the failing statement and the cause; no "Done.", and
    // the progress bar is idle again.
    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains(u"at line "_s + QString::number(statement)),
             qPrintable(reports.first()));
    QVERIFY(reports.first().contains(refuseOpen ? u"Permission denied"_s
                                                : u"No space left on device"_s));
    QVERIFY(!m_window.progressTexts.contains(u"Done."_s));
    QCOMPARE(m_window.progressValue, 0.0);
    QCOMPARE(m_window.progressText, u"Progress Bar"_s);
}

void TestSaveText::writesFile()
{
    core::ItemListModel list({u"Results"_s});
    list.appendBatch({u"IF-I-FILE"_s, u"HIDE"_s}, true);
    const QString path = m_dir.filePath(u"written.txt"_s);
    QVERIFY(output::writeAlignedText(list, path, &m_window, m_window.fakeDialogs));
    QCOMPARE(readFile(path), saveToBytes(list));
    QCOMPARE(m_window.fakeDialogs.errorReports(), QStringList());
}

void TestSaveText::replacesExistingFileWhole()
{
    const QString path = m_dir.filePath(u"replaced.txt"_s);
    testsupport::writeFile(path, QByteArray(5000, 'x'));
    core::ItemListModel list({u"Results"_s});
    list.append(u"A"_s, true);
    QVERIFY(output::writeAlignedText(list, path, nullptr, m_window.fakeDialogs));
    QCOMPARE(readFile(path), QByteArray("Results\t\r\nA      \t\r\n"));
}

void TestSaveText::oldFileIntactWhileWriting()
{
    // The new text goes elsewhere until it is complete: whenever the writer
    // yields, the old file is still whole.
    const QString path = m_dir.filePath(u"old.txt"_s);
    const QByteArray old("old content\r\n");
    testsupport::writeFile(path, old);
    core::ItemListModel list({u"Results"_s});
    list.appendBatch({u"A"_s, u"B"_s, u"C"_s}, true);
    int intact = 0;
    int yields = 0;
    QVERIFY(output::writeAlignedText(list, path, nullptr, m_window.fakeDialogs, [&] {
        ++yields;
        intact += readFile(path) == old;
    }));
    QVERIFY(yields > 0);
    QCOMPARE(intact, yields);
    QCOMPARE(readFile(path), QByteArray("Results\t\r\nA      \t\r\nB      \t\r\nC      \t\r\n"));
}

void TestSaveText::uncreatableFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("cause");
    // Permissions do not stop root, so the paths fail in ways that do.
    QTest::newRow("a folder that does not exist")
        << u"no-such-folder/out.txt"_s << u"No such file or directory"_s;
    QTest::newRow("a folder that is a file") << u"plain-file/out.txt"_s << u"Not a directory"_s;
    QTest::newRow("a path that is a folder") << u"a-folder"_s << u"directory"_s;
}

void TestSaveText::uncreatableFile()
{
    QFETCH(QString, path);
    QFETCH(QString, cause);
    const QTemporaryDir dir;
    testsupport::writeFile(dir.filePath(u"plain-file"_s), "keep");
    QVERIFY(QDir(dir.path()).mkpath(u"a-folder"_s));
    core::ItemListModel list({u"Results"_s});
    list.appendBatch({u"A"_s, u"B"_s, u"C"_s}, true);

    const QString fullPath = dir.filePath(path);
    QVERIFY(!output::writeAlignedText(list, fullPath, &m_window, m_window.fakeDialogs));
    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().startsWith(u"Could not create file '"_s + fullPath + u"' ("_s),
             qPrintable(reports.first()));
    QVERIFY2(reports.first().contains(cause), qPrintable(reports.first()));
    QVERIFY(reports.first().contains(u"Main.SaveListviewProperlySpaced at line 156"_s));
    QVERIFY(!m_window.progressTexts.contains(u"Done."_s));
    QCOMPARE(m_window.progressText, u"Progress Bar"_s);
    QCOMPARE(readFile(dir.filePath(u"plain-file"_s)), QByteArray("keep"));
    QVERIFY(QFileInfo(dir.filePath(u"a-folder"_s)).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"plain-file"_s});
}

// Each kind of existing target: a regular file is replaced keeping its
// permissions and owner; through a link the file it names is; anything that
// is no regular file is refused with one report and stays as it was.
void TestSaveText::saveTargets_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"fifo", "socket", "device link", "fifo link", "link loop"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
    QTest::newRow("regular file") << u"regular"_s;
    QTest::newRow("link to a file") << u"link"_s;
    QTest::newRow("file with a second hard link") << u"hard link"_s;
}

void TestSaveText::saveTargets()
{
    QFETCH(QString, kind);
    const QString path = m_dir.filePath(u"target"_s);
    const QString other = m_dir.filePath(u"other"_s);
    for (const QString &leftover : {path, other, path + u".fifo"_s})
        QFile::remove(leftover);
    const QByteArray old("old\r\n");
    const bool special = kind != u"regular" && kind != u"link" && kind != u"hard link";
    const bool root = ::geteuid() == 0;
    if (special) {
        testsupport::makeSpecialFile(kind, path);
    } else {
        testsupport::writeFile(kind == u"link" ? other : path, old);
        QFile::setPermissions(kind == u"link" ? other : path,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        if (root)
            QCOMPARE(::chown(QFile::encodeName(kind == u"link" ? other : path), 4321, 4321), 0);
        if (kind == u"link")
            QVERIFY(QFile::link(other, path));
        if (kind == u"hard link")
            QCOMPARE(::link(QFile::encodeName(path), QFile::encodeName(other)), 0);
    }
    core::ItemListModel list({u"Results"_s});
    list.append(u"A"_s, true);

    const bool saved = output::writeAlignedText(list, path, &m_window, m_window.fakeDialogs);
    const QStringList reports = m_window.fakeDialogs.errorReports();
    if (special) {
        QVERIFY(!saved);
        QCOMPARE(reports.size(), 1);
        const QString why =
            kind == u"link loop" ? u"Too many levels of symbolic links)"_s : u"Is a "_s;
        QVERIFY2(reports.first().startsWith(u"Could not create file '%1' ("_s.arg(path) + why),
                 qPrintable(reports.first()));
        QVERIFY(reports.first().contains(u"Main.SaveListviewProperlySpaced at line 156"_s));
        QVERIFY(testsupport::isStillSpecial(kind, path));
        // The command refuses it the same way, before it asks about overwriting.
        m_window.fakeDialogs.saveAnswers.enqueue(path);
        output::saveResultsAsText(m_window, m_window.dialogs());
        QCOMPARE(m_window.fakeDialogs.errorReports().value(1), reports.first());
        for (const FakeDialogs::Shown &shown : std::as_const(m_window.fakeDialogs.shown))
            QVERIFY(shown.kind != u"yesno"_s);
        QVERIFY(testsupport::isStillSpecial(kind, path));
        // No temporary file was left either.
        QStringList entries = QDir(m_dir.path()).entryList(QDir::Files | QDir::System);
        entries.removeAll(u"target.fifo"_s);
        QCOMPARE(entries.filter(u"target."_s), QStringList());
        return;
    }
    QVERIFY(saved);
    QCOMPARE(reports, QStringList());
    const QByteArray written("Results\t\r\nA      \t\r\n");
    QCOMPARE(readFile(path), written);
    QCOMPARE(QFileInfo(path).isSymLink(), kind == u"link");
    // The hard link keeps the old text: a replace never truncates in place.
    if (kind != u"regular")
        QCOMPARE(readFile(other), kind == u"hard link" ? old : written);
    const QFileInfo replaced(kind == u"link" ? other : path);
    QCOMPARE(replaced.permissions() & 0x7077, // owner, group and others
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    if (root)
        QCOMPARE(replaced.ownerId(), 4321u);
}

// A write that fails says why, in the system's words; the old file stays.
void TestSaveText::failedWriteGivesTheSystemsReason()
{
    const QString path = testsupport::writeFile(m_dir.filePath(u"limited.txt"_s), "old");
    core::ItemListModel list({u"Results"_s});
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines.append(u"LINE-%1"_s.arg(i));
    list.appendBatch(lines, true);
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = output::writeAlignedText(list, path, nullptr, m_window.fakeDialogs);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().startsWith(u"Could not write file '%1' (File too large)."_s.arg(path)),
             qPrintable(reports.first()));
    QCOMPARE(readFile(path), QByteArray("old"));
}

void TestSaveText::commandCancelled()
{
    m_window.results.append(u"A"_s, true);
    output::saveResultsAsText(m_window, m_window.dialogs());
    QCOMPARE(m_window.fakeDialogs.shown.size(), 1);
    const FakeDialogs::Shown &dialog = m_window.fakeDialogs.shown.first();
    QCOMPARE(dialog.kind, u"save"_s);
    QCOMPARE(dialog.title, u"Save"_s);
    QCOMPARE(dialog.filters, (QStringList{u"Text Files (*.txt)"_s, u"All Files (*)"_s}));
    QVERIFY(m_window.pointerHistory.isEmpty());
    QVERIFY(m_window.progressTexts.isEmpty());
}

void TestSaveText::commandWritesNewFile()
{
    fillList(m_window.results, {u"Results"_s}, {{{u"IF-I-FILE"_s}, true}, {{u"NO"_s}, false}});
    const QString path = m_dir.filePath(u"new.txt"_s);
    m_window.fakeDialogs.saveAnswers.enqueue(path);
    output::saveResultsAsText(m_window, m_window.dialogs());
    QCOMPARE(readFile(path), QByteArray("Results  \t\r\nIF-I-FILE\t\r\n"));
    // No overwrite question for a new file.
    QCOMPARE(m_window.fakeDialogs.shown.size(), 2);
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList{u"Done."_s});
    QCOMPARE(m_window.pointerHistory,
             (QList<core::Pointer>{core::Pointer::Hourglass, core::Pointer::Default}));
    QVERIFY(m_window.progressTexts.contains(u"Writing file: new.txt"_s));
}

void TestSaveText::commandOverwriteQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes replaces the file") << true;
    QTest::newRow("No leaves the file as it was") << false;
}

void TestSaveText::commandOverwriteQuestion()
{
    QFETCH(bool, yes);
    fillList(m_window.results, {u"Results"_s}, {{{u"A"_s}, true}});
    const QString path = m_dir.filePath(u"exists.txt"_s);
    testsupport::writeFile(path, "previous");
    m_window.fakeDialogs.saveAnswers.enqueue(path);
    m_window.fakeDialogs.yesNoAnswers.enqueue(yes);
    output::saveResultsAsText(m_window, m_window.dialogs());

    const FakeDialogs::Shown &question = m_window.fakeDialogs.shown.at(1);
    QCOMPARE(question.kind, u"yesno"_s);
    QCOMPARE(question.text, u"Are you sure you wish to overwrite "_s + path + u" ?"_s);
    QCOMPARE(question.title, QString());
    QCOMPARE(readFile(path), yes ? QByteArray("Results\t\r\nA      \t\r\n") : "previous");
    QCOMPARE(m_window.fakeDialogs.messages(), yes ? QStringList{u"Done."_s} : QStringList());
    QCOMPARE(m_window.pointerHistory.isEmpty(), !yes);
}

void TestSaveText::commandFailedSaveIsNotDone()
{
    fillList(m_window.results, {u"Results"_s}, {{{u"A"_s}, true}});
    // An existing folder by the chosen name: the question, Yes, a failure.
    const QString path = m_dir.filePath(u"folder.txt"_s);
    QVERIFY(QDir(m_dir.path()).mkpath(u"folder.txt/inner"_s));
    m_window.fakeDialogs.saveAnswers.enqueue(path);
    m_window.fakeDialogs.yesNoAnswers.enqueue(true);
    output::saveResultsAsText(m_window, m_window.dialogs());

    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first().contains(u"Main.SaveListviewProperlySpaced at line 156"_s));
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList());
    QCOMPARE(m_window.currentPointer, core::Pointer::Default);
    QVERIFY(QFileInfo(m_dir.filePath(u"folder.txt/inner"_s)).isDir());
}

QTEST_GUILESS_MAIN(TestSaveText)
#include "tst_output_savetext.moc"
