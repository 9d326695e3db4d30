// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "output/OutputCommands.h"
#include "platform/XlsxSheet.h"
#include "platform/XlsxSpreadsheet.h"
#include "tests/support/FakeWindow.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

namespace {

using Cells = QMap<QPair<int, int>, QString>;

// What a workbook file holds, read back the way a spreadsheet program would.
struct SheetContent
{
    bool ok = false;
    Cells cells;
    QStringList cellTypes;    // the t attribute of every cell
    bool hasFormula = false;  // any <f> element
    QMap<int, double> widths; // column -> width from <cols>
};

QByteArray unzipEntry(const QString &path, const QString &entry)
{
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, path, entry});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

// "_xHHHH_" in a cell's text stands for the character HHHH.
QString decodeEscapes(const QString &text)
{
    static const QRegularExpression escape(u"_x([0-9A-Fa-f]{4})_"_s);
    QString decoded;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &match : escape.globalMatch(text)) {
        decoded += text.mid(from, match.capturedStart() - from);
        decoded += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
        from = match.capturedEnd();
    }
    return decoded + text.mid(from);
}

QPair<int, int> cellPosition(const QString &reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference.at(i).isLetter(); ++i)
        column = column * 26 + (reference.at(i).unicode() - u'A' + 1);
    return {reference.mid(i).toInt(), column};
}

SheetContent readWorkbook(const QString &path)
{
    SheetContent content;
    const QByteArray sheetXml = unzipEntry(path, u"xl/worksheets/sheet1.xml"_s);
    if (sheetXml.isEmpty())
        return content;
    QStringList sharedStrings;
    QXmlStreamReader shared(unzipEntry(path, u"xl/sharedStrings.xml"_s));
    while (!shared.atEnd()) {
        shared.readNext();
        if (shared.isStartElement() && shared.name() == u"t")
            sharedStrings.append(decodeEscapes(shared.readElementText()));
    }

    QXmlStreamReader xml(sheetXml);
    QPair<int, int> position;
    QString type;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"col") {
            const int first = attributes.value(u"min"_s).toInt();
            const int last = attributes.value(u"max"_s).toInt();
            for (int c = first; c <= last; ++c)
                content.widths.insert(c, attributes.value(u"width"_s).toDouble());
        } else if (xml.name() == u"c") {
            position = cellPosition(attributes.value(u"r"_s).toString());
            type = attributes.value(u"t"_s).toString();
            content.cellTypes.append(type);
        } else if (xml.name() == u"f") {
            content.hasFormula = true;
        } else if (xml.name() == u"t") {
            content.cells[position] += decodeEscapes(xml.readElementText());
        } else if (xml.name() == u"v" && type == u"s") {
            content.cells[position] = sharedStrings.value(xml.readElementText().toInt());
        }
    }
    content.ok = !xml.hasError();
    return content;
}

// An executable script that records its arguments, one a line, in `record`.
// A program that is found and executable but cannot run: its interpreter is
// missing. Empty when it could not be written.
QString brokenProgram(const QTemporaryDir &dir)
{
    const QString program = dir.filePath(u"broken"_s);
    QFile script(program);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/digitome/no/such/interpreter\n");
    script.close();
    if (!script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner))
        return {};
    return program;
}

QString recordingProgram(const QTemporaryDir &dir, const QString &record)
{
    const QString path = dir.filePath(u"record-args"_s);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + QFile::encodeName(record) + "\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestXlsxSpreadsheet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void textsReadBack_data();
    void textsReadBack();
    void emptyCellsAndGaps();
    void fittedWidths();
    void limits_data();
    void limits();
    void unwritableFile();

    void programLookup();
    void missingProgram();
    void cellsNeedWorkbook();
    void makeVisibleStartsProgram();
    void programThatCannotStart();
    void exportCommandEndToEnd();
    void exportCommandProgramFails();
    void exportCommandSheetFull();
};

void TestXlsxSpreadsheet::initTestCase()
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        QSKIP("unzip is not installed: run tools/install-deps.sh test");
}

void TestXlsxSpreadsheet::textsReadBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("a result line") << u"IF-I-FILE"_s;
    QTest::newRow("leading and trailing spaces") << u"  spaced  "_s;
    QTest::newRow("a formula stays text") << u"=1+2"_s;
    QTest::newRow("digits with a leading zero stay text") << u"0123"_s;
    QTest::newRow("TAB and LF") << u"A\tB\nC"_s;
    QTest::newRow("CR and other control characters") << u"A\r\nB\u0001C"_s;
    QTest::newRow("XML markup characters") << u"<a href=\"x\">&amp;</a> 'q'"_s;
    QTest::newRow("an escape-like sequence stays literal") << u"_x0041_ and _x005F_"_s;
    QTest::newRow("non-ASCII") << u"ÄÖÜ ß 日本 😀"_s;
    QTest::newRow("the longest text a cell holds")
        << QString(platform::XlsxSheet::MaxTextLength, u'é');
}

void TestXlsxSpreadsheet::textsReadBack()
{
    QFETCH(QString, text);
    const QTemporaryDir dir;
    platform::XlsxSheet sheet;
    sheet.setCell(1, 1, u"Results"_s);
    sheet.setCell(2, 1, text);
    sheet.setCell(2, 3, text);
    const QString path = dir.filePath(u"texts.xlsx"_s);
    sheet.save(path);

    const SheetContent content = readWorkbook(path);
    QVERIFY(content.ok);
    QCOMPARE(content.cells, (Cells{{{1, 1}, u"Results"_s}, {{2, 1}, text}, {{2, 3}, text}}));
    QVERIFY(!content.hasFormula);
    for (const QString &type : content.cellTypes)
        QVERIFY2(type == u"inlineStr" || type == u"s", qPrintable(type));
}

void TestXlsxSpreadsheet::emptyCellsAndGaps()
{
    const QTemporaryDir dir;
    platform::XlsxSheet sheet;
    sheet.setCell(1, 1, u"Results"_s);
    sheet.setCell(3, 1, u"B"_s);
    sheet.setCell(3, 2, u""_s);
    sheet.setCell(7, 2, u"D"_s);
    sheet.setCell(9, 4, u""_s); // an empty text adds no cell
    sheet.setCell(1, 1, u"Replaced"_s);
    QCOMPARE(sheet.rowCount(), 7);
    QCOMPARE(sheet.columnCount(), 2);
    const QString path = dir.filePath(u"gaps.xlsx"_s);
    // The application's events go on while the workbook is written.
    bool eventsWhileSaving = false;
    QTimer::singleShot(0, [&] {
        eventsWhileSaving = true;
    });
    sheet.save(path);
    QVERIFY(eventsWhileSaving);
    QCOMPARE(readWorkbook(path).cells,
             (Cells{{{1, 1}, u"Replaced"_s}, {{3, 1}, u"B"_s}, {{7, 2}, u"D"_s}}));
}

void TestXlsxSpreadsheet::fittedWidths()
{
    const QTemporaryDir dir;
    platform::XlsxSheet sheet;
    sheet.setCell(1, 1, u"Results"_s);
    sheet.setCell(2, 1, QString(30, u'W'));
    sheet.setCell(1, 2, u"B"_s);
    sheet.setCell(2, 2, u"short"_s);
    sheet.setCell(2, 3, QString(1000, u'x'));
    sheet.setCell(1, 4, u"not fitted"_s);
    sheet.fitColumn(1);
    sheet.fitColumn(2);
    sheet.fitColumn(3);
    sheet.fitColumn(5); // no text: keeps the default width
    QCOMPARE(sheet.columnWidth(4), 0.0);
    QCOMPARE(sheet.columnWidth(5), 0.0);
    QVERIFY(sheet.columnWidth(1) >= 30);
    QVERIFY(sheet.columnWidth(2) >= 5 && sheet.columnWidth(2) < sheet.columnWidth(1));
    QCOMPARE(sheet.columnWidth(3), platform::XlsxSheet::MaxColumnWidth);

    const QString path = dir.filePath(u"widths.xlsx"_s);
    sheet.save(path);
    const SheetContent content = readWorkbook(path);
    QCOMPARE(content.widths.keys(), (QList<int>{1, 2, 3}));
    QVERIFY(content.widths.value(1) >= 30);
    QVERIFY(content.widths.value(2) >= 5 && content.widths.value(2) < content.widths.value(1));

    sheet.fitAllColumns();
    QVERIFY(sheet.columnWidth(4) >= 10);
}

void TestXlsxSpreadsheet::limits_data()
{
    using platform::XlsxSheet;
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("the last cell of the sheet")
        << XlsxSheet::MaxRows << XlsxSheet::MaxColumns << qsizetype(1) << true;
    QTest::newRow("row 0") << 0 << 1 << qsizetype(1) << false;
    QTest::newRow("a row beyond the last") << XlsxSheet::MaxRows + 1 << 1 << qsizetype(1) << false;
    QTest::newRow("column 0") << 1 << 0 << qsizetype(1) << false;
    QTest::newRow("a column beyond the last")
        << 1 << XlsxSheet::MaxColumns + 1 << qsizetype(1) << false;
    QTest::newRow("a text longer than a cell holds")
        << 1 << 1 << qsizetype(XlsxSheet::MaxTextLength + 1) << false;
}

void TestXlsxSpreadsheet::limits()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(qsizetype, length);
    QFETCH(bool, accepted);
    platform::XlsxSheet sheet;
    bool failed = false;
    try {
        sheet.setCell(row, column, QString(length, u'a'));
    } catch (const core::Failure &failure) {
        failed = true;
        QVERIFY(!failure.description().isEmpty());
    }
    QCOMPARE(failed, !accepted);
    QCOMPARE(sheet.cell(row, column).size(), accepted ? length : 0);
}

void TestXlsxSpreadsheet::unwritableFile()
{
    const QTemporaryDir dir;
    platform::XlsxSheet sheet;
    sheet.setCell(1, 1, u"A"_s);
    const QString path = dir.filePath(u"no-such-folder/out.xlsx"_s);
    try {
        sheet.save(path);
        QFAIL("saving into a missing folder succeeded");
    } catch (const core::Failure &failure) {
        QVERIFY2(failure.description().startsWith(u"Could not write the workbook '"_s + path),
                 qPrintable(failure.description()));
    }
    QVERIFY(!QFile::exists(path));
}

void TestXlsxSpreadsheet::programLookup()
{
    // The default programs are looked up on the PATH.
    const QByteArray oldPath = qgetenv("PATH");
    const QTemporaryDir dir;
    const QString program = recordingProgram(dir, dir.filePath(u"unused"_s));
    QVERIFY(QFile::rename(program, dir.filePath(u"localc"_s)));
    qputenv("PATH", QFile::encodeName(dir.path()));
    const platform::XlsxSpreadsheet withCalc;
    const bool foundWithCalc = withCalc.isAvailable();
    const QString found = withCalc.program();
    qputenv("PATH", QFile::encodeName(dir.filePath(u"empty"_s)));
    const bool foundWithout = withCalc.isAvailable();
    qputenv("PATH", oldPath);

    QVERIFY(foundWithCalc);
    QCOMPARE(found, dir.filePath(u"localc"_s));
    QVERIFY(!foundWithout);
}

void TestXlsxSpreadsheet::missingProgram()
{
    platform::XlsxSpreadsheet::Options options;
    options.programs = {u"digitome-no-such-program"_s};
    platform::XlsxSpreadsheet spreadsheet(options);
    QVERIFY(!spreadsheet.isAvailable());
    QVERIFY_THROWS_EXCEPTION(core::Failure, spreadsheet.create());
}

void TestXlsxSpreadsheet::cellsNeedWorkbook()
{
    platform::XlsxSpreadsheet::Options options;
    options.programs = {u"/bin/true"_s};
    platform::XlsxSpreadsheet spreadsheet(options);
    const auto application = spreadsheet.create();
    QVERIFY_THROWS_EXCEPTION(core::Failure, application->setCell(1, 1, u"A"_s));
    QVERIFY_THROWS_EXCEPTION(core::Failure, application->makeVisible());
}

void TestXlsxSpreadsheet::makeVisibleStartsProgram()
{
    const QTemporaryDir dir;
    const QString record = dir.filePath(u"args.txt"_s);
    const QString folder = dir.filePath(u"cache/deeper"_s);
    QVERIFY(QDir().mkpath(folder));
    // A workbook left by an export days ago goes; other files stay.
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    for (const QString &name : {u"results-old.xlsx"_s, u"mine.xlsx"_s}) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }

    platform::XlsxSpreadsheet::Options options;
    options.programs = {recordingProgram(dir, record)};
    options.folder = folder;
    platform::XlsxSpreadsheet spreadsheet(options);
    QVERIFY(spreadsheet.isAvailable());
    const auto application = spreadsheet.create();
    application->addWorkbook();
    application->setCell(1, 1, u"Results"_s);
    application->setCell(3, 1, u"IF-I-FILE"_s);
    application->autofitAllColumns();
    application->makeVisible();

    QTRY_VERIFY_WITH_TIMEOUT(readLines(record).size() == 3, 10000);
    const QStringList arguments = readLines(record);
    QCOMPARE(arguments.mid(0, 2), (QStringList{u"--calc"_s, u"-n"_s}));
    const QFileInfo workbook(arguments.at(2));
    QCOMPARE(workbook.absolutePath(), QFileInfo(folder).absoluteFilePath());
    QVERIFY2(workbook.fileName().startsWith(u"results-"_s), qPrintable(workbook.fileName()));
    QCOMPARE(workbook.suffix(), u"xlsx"_s);
    QCOMPARE(readWorkbook(workbook.filePath()).cells,
             (Cells{{{1, 1}, u"Results"_s}, {{3, 1}, u"IF-I-FILE"_s}}));
    QVERIFY(!QFile::exists(QDir(folder).filePath(u"results-old.xlsx"_s)));
    QVERIFY(QFile::exists(QDir(folder).filePath(u"mine.xlsx"_s)));
}

void TestXlsxSpreadsheet::programThatCannotStart()
{
    const QTemporaryDir dir;
    const QString program = brokenProgram(dir);
    QVERIFY(!program.isEmpty());

    platform::XlsxSpreadsheet::Options options;
    options.programs = {program};
    options.folder = dir.filePath(u"cache"_s);
    platform::XlsxSpreadsheet spreadsheet(options);
    const auto application = spreadsheet.create();
    application->addWorkbook();
    application->setCell(1, 1, u"A"_s);
    try {
        application->makeVisible();
        QFAIL("a program that cannot start was reported as started");
    } catch (const core::Failure &failure) {
        QCOMPARE(failure.description(),
                 u"Could not start the spreadsheet program '%1'."_s.arg(program));
    }
    // The workbook nobody will open is not left behind.
    QCOMPARE(QDir(options.folder).entryList(QDir::Files), QStringList());
}

void TestXlsxSpreadsheet::exportCommandEndToEnd()
{
    const QTemporaryDir dir;
    const QString record = dir.filePath(u"args.txt"_s);
    platform::XlsxSpreadsheet::Options options;
    options.programs = {recordingProgram(dir, record)};
    options.folder = dir.filePath(u"cache"_s);
    platform::XlsxSpreadsheet spreadsheet(options);
    FakeWindow window;
    window.spreadsheetOverride = &spreadsheet;
    window.results.setHeaders({u"Results"_s, u"Number"_s});
    window.results.appendRow({u"=IF-I-FILE"_s, u"=434-3453"_s}, true);
    window.results.appendRow({u"SKIPPED"_s, u"x"_s}, false);
    window.results.appendRow({u"HIDE"_s, u"a=b=c"_s}, true);
    output::exportResultsToSpreadsheet(window, window.dialogs(), window.spreadsheet());

    QCOMPARE(window.fakeDialogs.shown.size(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(readLines(record).size() == 3, 10000);
    const SheetContent content = readWorkbook(readLines(record).at(2));
    QCOMPARE(content.cells,
             (Cells{{{1, 1}, u"Results"_s},
                    {{1, 2}, u"Number"_s},
                    {{2, 1}, u"=IF-I-FILE"_s},
                    {{2, 2}, u"434-3453"_s},
                    {{4, 1}, u"HIDE"_s},
                    {{4, 2}, u"abc"_s}}));
    QVERIFY(!content.hasFormula);
    QCOMPARE(content.widths.keys(), (QList<int>{1, 2}));
}

void TestXlsxSpreadsheet::exportCommandProgramFails()
{
    const QTemporaryDir dir;
    const QString program = brokenProgram(dir);
    QVERIFY(!program.isEmpty());
    platform::XlsxSpreadsheet::Options options;
    options.programs = {program};
    options.folder = dir.filePath(u"cache"_s);
    platform::XlsxSpreadsheet spreadsheet(options);
    FakeWindow window;
    window.spreadsheetOverride = &spreadsheet;
    window.results.append(u"A"_s, true);
    output::exportResultsToSpreadsheet(window, window.dialogs(), window.spreadsheet());

    const QStringList reports = window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().startsWith(u"Could not start the spreadsheet program"_s),
             qPrintable(reports.first()));
    QVERIFY(reports.first().contains(u"Form1.PushButton13_Click at line 168"_s));
    QCOMPARE(window.fakeDialogs.messages(), QStringList());
    QCOMPARE(window.currentPointer, core::Pointer::Default);
}

void TestXlsxSpreadsheet::exportCommandSheetFull()
{
    // List row r lands in sheet row r + 1, so the list's last row does not
    // fit: one report, and the rows that fit are shown.
    const QTemporaryDir dir;
    const QString record = dir.filePath(u"args.txt"_s);
    platform::XlsxSpreadsheet::Options options;
    options.programs = {recordingProgram(dir, record)};
    options.folder = dir.filePath(u"cache"_s);
    platform::XlsxSpreadsheet spreadsheet(options);
    FakeWindow window;
    window.spreadsheetOverride = &spreadsheet;
    const int rows = platform::XlsxSheet::MaxRows;
    window.results.appendBatch(QStringList(rows - 2, u"UNCHECKED"_s), false);
    window.results.appendBatch({u"FITS"_s, u"TOO FAR"_s}, true);
    output::exportResultsToSpreadsheet(window, window.dialogs(), window.spreadsheet());

    const QStringList reports = window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains(u"Form1.PushButton13_Click at line 152"_s),
             qPrintable(reports.first()));
    QTRY_VERIFY_WITH_TIMEOUT(readLines(record).size() == 3, 10000);
    QCOMPARE(readWorkbook(readLines(record).at(2)).cells,
             (Cells{{{1, 1}, u"Results"_s}, {{rows, 1}, u"FITS"_s}}));
}

QTEST_GUILESS_MAIN(TestXlsxSpreadsheet)
#include "tst_spreadsheet_xlsx.moc"
