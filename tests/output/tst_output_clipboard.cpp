// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/ClipboardCopy.h"
#include "output/OutputCommands.h"
#include "tests/output/ListBuilder.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeWindow.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString CopiedMessage =
    u"Results have been copied to the clipboard.\r\rClick a text area where "
    u"you normally type and press Ctrl+V to paste the clipboard."_s;

} // namespace

class TestClipboardCopy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void text_data();
    void text();
    void retries_data();
    void retries();

    void commandCopies();
    void commandEmptyListLeavesClipboard();
    void commandNothingChecked();
    void commandClipboardRefuses();
    void commandRowsVanish();

private:
    FakeWindow m_window;
};

void TestClipboardCopy::init()
{
    m_window.results.clear();
    m_window.fakeDialogs.shown.clear();
    m_window.pointerHistory.clear();
    m_window.onYield = nullptr;
    m_window.fakeClipboard = FakeClipboard();
    m_window.fakeClipboard.content = u"previous"_s;
}

void TestClipboardCopy::text_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<TestRows>("rows");
    QTest::addColumn<QString>("expected");

    const QStringList results{u"Results"_s};
    QTest::newRow("one column: checked lines, padding trimmed, CR LF after each")
        << results
        << TestRows{{{u"ABCDEFGHI"_s}, true}, {{u"ABCDEFGHIJKL"_s}, false}, {{u"ABCDEFG"_s}, true}}
        << u"ABCDEFGHI\r\nABCDEFG\r\n"_s;
    QTest::newRow("two columns: the first padded with its TAB, the last bare")
        << QStringList{u"A"_s, u"B"_s}
        << TestRows{{{u"abc"_s, u"defg"_s}, true}, {{u"vwxyz"_s, u"q"_s}, false}}
        << u"abc  \tdefg\r\n"_s;
    QTest::newRow("headers neither appear nor widen a column")
        << QStringList{u"A very long header"_s, u"B"_s}
        << TestRows{{{u"ab"_s, u"c"_s}, true}, {{u"a"_s, u"d"_s}, true}} << u"ab\tc\r\na \td\r\n"_s;
    QTest::newRow("one column: a row of spaces gives an empty line")
        << results << TestRows{{{u"AB"_s}, true}, {{u"   "_s}, true}, {{u"C"_s}, true}}
        << u"AB\r\n\r\nC\r\n"_s;
    QTest::newRow("an empty or blank last column ends the line with the TAB before it")
        << QStringList{u"A"_s, u"B"_s, u"C"_s}
        << TestRows{{{u"a"_s, u"bb"_s, u""_s}, true}, {{u"aa"_s, u"b"_s, u"   "_s}, true}}
        << u"a \tbb\t\r\naa\tb \t\r\n"_s;
    QTest::newRow("trailing spaces are trimmed but TABs inside texts are not")
        << results << TestRows{{{u"A\t  "_s}, true}, {{u"B \t C  "_s}, true}}
        << u"A\t\r\nB \t C\r\n"_s;
    QTest::newRow("leading spaces and non-ASCII stay")
        << results << TestRows{{{u"  ÄÖÜ 日本  "_s}, true}} << u"  ÄÖÜ 日本\r\n"_s;
    QTest::newRow("line breaks inside a text stay")
        << results << TestRows{{{u"A\r\nB"_s}, true}} << u"A\r\nB\r\n"_s;
    QTest::newRow("nothing checked gives the empty text")
        << results << TestRows{{{u"A"_s}, false}} << QString();
}

void TestClipboardCopy::text()
{
    QFETCH(QStringList, headers);
    QFETCH(TestRows, rows);
    QFETCH(QString, expected);
    core::ItemListModel list;
    fillList(list, headers, rows);
    int yields = 0;
    QCOMPARE(output::clipboardText(list,
                                   [&] {
                                       ++yields;
                                   }),
             expected);
    QVERIFY(yields > 0);

    FakeClipboard clipboard;
    output::copyListToClipboard(list, clipboard);
    QCOMPARE(clipboard.content, expected);
}

void TestClipboardCopy::retries_data()
{
    QTest::addColumn<int>("refusals");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<int>("attempts");
    QTest::newRow("the first attempt succeeds") << 0 << true << 1;
    QTest::newRow("one refusal, then success") << 1 << true << 2;
    QTest::newRow("success at the last allowed attempt") << 999 << true << 1000;
    QTest::newRow("refused 1000 times: gives up after 1000") << 1000 << false << 1000;
    QTest::newRow("refusing for ever: still 1000 attempts") << 5000 << false << 1000;
}

void TestClipboardCopy::retries()
{
    QFETCH(int, refusals);
    QFETCH(bool, succeeds);
    QFETCH(int, attempts);

    FakeClipboard clipboard;
    clipboard.content = u"old"_s;
    clipboard.refuseSets = refusals;
    QCOMPARE(output::setClipboardText(clipboard, u"new"_s), succeeds);
    QCOMPARE(clipboard.setAttempts, attempts);
    QCOMPARE(clipboard.content, succeeds ? u"new"_s : u"old"_s);

    clipboard.refuseClears = refusals;
    output::clearClipboard(clipboard);
    QCOMPARE(clipboard.clearAttempts, attempts);
    QCOMPARE(clipboard.content.isEmpty(), succeeds);
}

void TestClipboardCopy::commandCopies()
{
    fillList(m_window.results, {u"Results"_s}, {{{u"IF-I-FILE"_s}, true}, {{u"HIDE  "_s}, true}});
    m_window.fakeClipboard.refuseSets = 3;
    output::copyResults(m_window, m_window.dialogs(), m_window.clipboard());
    QCOMPARE(m_window.fakeClipboard.content, u"IF-I-FILE\r\nHIDE\r\n"_s);
    QCOMPARE(m_window.fakeClipboard.setAttempts, 4);
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList{CopiedMessage});
    QCOMPARE(m_window.fakeDialogs.shown.first().title, QString());
    QCOMPARE(m_window.fakeDialogs.shown.first().icon, core::Dialogs::Icon::None);
    QCOMPARE(m_window.pointerHistory,
             (QList<core::Pointer>{core::Pointer::Hourglass, core::Pointer::Default}));
    QVERIFY(m_window.yields > 0);
}

void TestClipboardCopy::commandEmptyListLeavesClipboard()
{
    output::copyResults(m_window, m_window.dialogs(), m_window.clipboard());
    QCOMPARE(m_window.fakeClipboard.content, u"previous"_s);
    QCOMPARE(m_window.fakeClipboard.clearAttempts, 0);
    QCOMPARE(m_window.fakeClipboard.setAttempts, 0);
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList{CopiedMessage});
    QCOMPARE(m_window.fakeDialogs.errorReports(), QStringList());
}

void TestClipboardCopy::commandNothingChecked()
{
    fillList(m_window.results, {u"Results"_s}, {{{u"A"_s}, false}});
    m_window.fakeClipboard.refuseClears = 1000; // the empty text replaces it anyway
    output::copyResults(m_window, m_window.dialogs(), m_window.clipboard());
    QCOMPARE(m_window.fakeClipboard.clearAttempts, 1000);
    QCOMPARE(m_window.fakeClipboard.setAttempts, 1);
    QCOMPARE(m_window.fakeClipboard.content, QString());
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList{CopiedMessage});
}

void TestClipboardCopy::commandClipboardRefuses()
{
    fillList(m_window.results, {u"Results"_s}, {{{u"A"_s}, true}});
    m_window.fakeClipboard.refuseSets = 1000;
    output::copyResults(m_window, m_window.dialogs(), m_window.clipboard());
    // One report; the text is not on the clipboard, so no claim that it is.
    const QStringList reports = m_window.fakeDialogs.errorReports();
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports.first().contains(u"Form1.PushButton5_Click at line 108"_s),
             qPrintable(reports.first()));
    QCOMPARE(m_window.fakeDialogs.messages(), QStringList());
    QCOMPARE(m_window.fakeClipboard.setAttempts, 1000);
    QCOMPARE(m_window.currentPointer, core::Pointer::Default);
}

void TestClipboardCopy::commandRowsVanish()
{
    fillList(m_window.results, {u"Results"_s}, {{{u"A"_s}, true}, {{u"B"_s}, true}});
    m_window.onYield = [&] {
        m_window.results.clear();
    };
    output::copyResults(m_window, m_window.dialogs(), m_window.clipboard());
    QCOMPARE(m_window.fakeDialogs.errorReports().size(), 1);
    QVERIFY(m_window.fakeDialogs.errorReports().first().contains(
        u"Index out of bounds\r\nin Numerill2021/08/31.Form1.PushButton5_Click at line 108"_s));
    // The command goes on with its message; only a refusing clipboard skips it.
    QCOMPARE(m_window.fakeDialogs.messages().size(), 1);
    QVERIFY(m_window.fakeDialogs.messages().first().startsWith(u"Results have been copied"_s));
    QCOMPARE(m_window.fakeClipboard.content, u"previous"_s);
    QCOMPARE(m_window.currentPointer, core::Pointer::Default);
}

QTEST_GUILESS_MAIN(TestClipboardCopy)
#include "tst_output_clipboard.moc"
