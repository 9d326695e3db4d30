// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/XlsxSheet.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

// Our workbooks as LibreOffice Calc reads them: converted to CSV headlessly,
// in a private profile so that a running instance does not take the job.
class TestSpreadsheetLibreOffice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsToExpectedCsv();
};

void TestSpreadsheetLibreOffice::convertsToExpectedCsv()
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty())
        QSKIP("LibreOffice is not installed (tools/install-deps.sh test installs it)");

    const QTemporaryDir dir;
    platform::XlsxSheet sheet;
    const QStringList header{u"Results"_s, u"Number"_s};
    for (int c = 0; c < header.size(); ++c)
        sheet.setCell(1, c + 1, header.at(c));
    sheet.setCell(2, 1, u"IF-I-FILE"_s);
    sheet.setCell(2, 2, u"0434"_s);
    // Row 3 stays empty, as for an unchecked result.
    sheet.setCell(4, 1, u"=1+2"_s);
    sheet.setCell(4, 2, u"  spaced  "_s);
    sheet.setCell(5, 1, u"a,b \"quoted\""_s);
    sheet.setCell(5, 2, u"ÄÖÜ ß 日本"_s);
    sheet.setCell(6, 1, u"_x0041_ literal"_s);
    sheet.setCell(6, 2, u"1e5"_s);
    sheet.fitAllColumns();
    const QString workbook = dir.filePath(u"results.xlsx"_s);
    sheet.save(workbook);

    QProcess convert;
    convert.setProcessChannelMode(QProcess::MergedChannels);
    convert.start(
        soffice,
        {u"-env:UserInstallation="_s + QUrl::fromLocalFile(dir.filePath(u"profile"_s)).toString(),
         u"--headless"_s,
         u"--convert-to"_s,
         u"csv:Text - txt - csv (StarCalc):44,34,UTF8,1,,0,false,true,false,false"_s,
         u"--outdir"_s,
         dir.filePath(u"csv"_s),
         workbook});
    QVERIFY(convert.waitForStarted());
    QVERIFY2(convert.waitForFinished(150000), "LibreOffice did not finish in time");
    const QByteArray log = convert.readAll();
    QVERIFY2(convert.exitCode() == 0, log.constData());

    QFile csv(dir.filePath(u"csv/results.csv"_s));
    QVERIFY2(csv.open(QIODevice::ReadOnly), log.constData());
    const QString text = QString::fromUtf8(csv.readAll());
    const QStringList lines = text.split(QRegularExpression(u"\r?\n"_s), Qt::SkipEmptyParts);
    // Every cell comes back as the text it was: no formula, no number.
    QCOMPARE(lines,
             (QStringList{u"Results,Number"_s,
                          u"IF-I-FILE,0434"_s,
                          u","_s,
                          u"=1+2,  spaced  "_s,
                          u"\"a,b \"\"quoted\"\"\",ÄÖÜ ß 日本"_s,
                          u"_x0041_ literal,1e5"_s}));
}

QTEST_GUILESS_MAIN(TestSpreadsheetLibreOffice)
#include "tst_spreadsheet_libreoffice.moc"
