// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "output/OutputCommands.h"
#include "output/SpreadsheetExport.h"
#include "tests/output/ListBuilder.h"
#include "tests/support/FakeSpreadsheet.h"
#include "tests/support/FakeWindow.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

using Cells = QMap<QPair<int, int>, QString>;

const QString ForSoftware = u"Excel is not installed on this computer. You need to have it "
                            u"installed to use this software without error."_s;
const QString ForFeature = u"Excel is not installed on this computer. You need to have it "
                           u"installed to use this feature."_s;

// A spreadsheet whose availability test passes but whose later creations fail.
class FailsAfterFirstCreate : public FakeSpreadsheet
{
public:
    std::unique_ptr<core::SpreadsheetApplication> create() override
    {
        if (created >= 1)
            throw core::Failure(u"The spreadsheet program could not be started."_s);
        return FakeSpreadsheet::create();
    }
};

} // namespace

Q_DECLARE_METATYPE(Cells)

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void sheetLayout_data();
    void sheetLayout();
    void notInstalled_data();
    void notInstalled();
    void emptyListOpensNothing();
    void applicationCannotBeCreated();
    void rowsVanish();

private:
    FakeWindow m_window;
};

void TestSpreadsheetExport::init()
{
    m_window.results.clear();
    m_window.fakeDialogs.shown.clear();
    m_window.pointerHistory.clear();
    m_window.onYield = nullptr;
    m_window.fakeSpreadsheet = FakeSpreadsheet();
}

void TestSpreadsheetExport::sheetLayout_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<TestRows>("rows");
    QTest::addColumn<Cells>("cells");

    QTest::newRow("headers in row 1, list row r in sheet row r + 1")
        << QStringList{u"Results"_s} << TestRows{{{u"IF-I-FILE"_s}, true}, {{u"HIDE"_s}, true}}
        << Cells{{{1, 1}, u"Results"_s}, {{2, 1}, u"IF-I-FILE"_s}, {{3, 1}, u"HIDE"_s}};
    QTest::newRow("unchecked rows leave their sheet rows empty")
        << QStringList{u"Results"_s}
        << TestRows{{{u"A"_s}, false}, {{u"B"_s}, true}, {{u"C"_s}, false}, {{u"D"_s}, true}}
        << Cells{{{1, 1}, u"Results"_s}, {{3, 1}, u"B"_s}, {{5, 1}, u"D"_s}};
    QTest::newRow("\"=\" stays in column 1 and goes from columns 2 and later")
        << QStringList{u"A"_s, u"B"_s, u"C=D"_s}
        << TestRows{{{u"=1+2"_s, u"=SUM(A1)"_s, u"a==b"_s}, true}}
        << Cells{{{1, 1}, u"A"_s},
                 {{1, 2}, u"B"_s},
                 {{1, 3}, u"C=D"_s},
                 {{2, 1}, u"=1+2"_s},
                 {{2, 2}, u"SUM(A1)"_s},
                 {{2, 3}, u"ab"_s}};
    QTest::newRow("TABs, line breaks and non-ASCII pass unchanged")
        << QStringList{u"Results"_s} << TestRows{{{u"A\tB\r\nÄ日"_s}, true}}
        << Cells{{{1, 1}, u"Results"_s}, {{2, 1}, u"A\tB\r\nÄ日"_s}};
}

void TestSpreadsheetExport::sheetLayout()
{
    QFETCH(QStringList, headers);
    QFETCH(TestRows, rows);
    QFETCH(Cells, cells);
    fillList(m_window.results, headers, rows);
    output::exportResultsToSpreadsheet(m_window, m_window.dialogs(), m_window.spreadsheet());

    const FakeSpreadsheet &sheet = m_window.fakeSpreadsheet;
    QCOMPARE(sheet.cells, cells);
    // The availability test makes one application, the export another.
    QCOMPARE(sheet.created, 2);
    QCOMPARE(sheet.workbooks, 1);
    QCOMPARE(sheet.fittedColumns.size(), headers.size());
    QVERIFY(sheet.fittedAll);
    QVERIFY(sheet.visible);
    QCOMPARE(m_window.fakeDialogs.shown.size(), 0);
    QCOMPARE(m_window.pointerHistory,
             (QList<core::Pointer>{core::Pointer::Hourglass, core::Pointer::Default}));
}

void TestSpreadsheetExport::notInstalled_data()
{
    QTest::addColumn<bool>("available");
    QTest::newRow("no program found") << false;
    QTest::newRow("found, but it cannot be created") << true;
}

void TestSpreadsheetExport::notInstalled()
{
    QFETCH(bool, available);
    fillList(m_window.results, {u"Results"_s}, {{{u"A"_s}, true}});
    m_window.fakeSpreadsheet.available = available;
    m_window.fakeSpreadsheet.failCreate = true;

    QVERIFY(!output::spreadsheetInstalled(m_window.dialogs(), m_window.spreadsheet()));
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList{ForSoftware});

    m_window.fakeDialogs.shown.clear();
    output::exportResultsToSpreadsheet(m_window, m_window.dialogs(), m_window.spreadsheet());
    QCOMPARE(m_window.fakeDialogs.messages(), (QStringList{ForSoftware, ForFeature}));
    QCOMPARE(m_window.fakeDialogs.shown.first().icon, core::Dialogs::Icon::None);
    QCOMPARE(m_window.fakeDialogs.errorReports(), QStringList());
    QVERIFY(m_window.fakeSpreadsheet.cells.isEmpty());
    QVERIFY(m_window.pointerHistory.isEmpty());
}

void TestSpreadsheetExport::emptyListOpensNothing()
{
    QVERIFY(output::spreadsheetInstalled(m_window.dialogs(), m_window.spreadsheet()));
    output::exportResultsToSpreadsheet(m_window, m_window.dialogs(), m_window.spreadsheet());
    QCOMPARE(m_window.fakeSpreadsheet.created, 2); // both availability tests
    QCOMPARE(m_window.fakeSpreadsheet.workbooks, 0);
    QVERIFY(!m_window.fakeSpreadsheet.visible);
    QCOMPARE(m_window.fakeDialogs.shown.size(), 0);
    QVERIFY(m_window.pointerHistory.isEmpty());
}

void TestSpreadsheetExport::applicationCannotBeCreated()
{
    FailsAfterFirstCreate spreadsheet;
    FakeWindow window;
    window.spreadsheetOverride = &spreadsheet;
    fillList(window.results, {u"Results"_s}, {{{u"A"_s}, true}, {{u"B"_s}, true}});
    output::exportResultsToSpreadsheet(window, window.dialogs(), window.spreadsheet());
    // One report, not one for every statement that would use the application.
    const QStringList reports = window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports.first().startsWith(u"The spreadsheet program could not be started.\r\n"_s));
    QVERIFY(reports.first().contains(u"Form1.PushButton13_Click at line 112"_s));
    QCOMPARE(window.fakeDialogs.messages(), QStringList());
    QCOMPARE(window.currentPointer, core::Pointer::Default);
    QVERIFY(spreadsheet.cells.isEmpty());
}

void TestSpreadsheetExport::rowsVanish()
{
    fillList(
        m_window.results, {u"Results"_s}, {{{u"A"_s}, true}, {{u"B"_s}, true}, {{u"C"_s}, true}});
    // Cleared while the second row is being written: one report, and the
    // rows written so far are shown.
    m_window.onYield = [&] {
        if (m_window.fakeSpreadsheet.cells.contains({2, 1}))
            m_window.results.clear();
    };
    output::exportResultsToSpreadsheet(m_window, m_window.dialogs(), m_window.spreadsheet());
    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains(u"Form1.PushButton13_Click at line 142"_s),
             qPrintable(reports.first()));
    QCOMPARE(m_window.fakeSpreadsheet.cells, (Cells{{{1, 1}, u"Results"_s}, {{2, 1}, u"A"_s}}));
    QVERIFY(m_window.fakeSpreadsheet.visible);
    QCOMPARE(m_window.currentPointer, core::Pointer::Default);
}

QTEST_GUILESS_MAIN(TestSpreadsheetExport)
#include "tst_output_spreadsheet.moc"
