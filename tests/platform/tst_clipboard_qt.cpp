// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/ClipboardCopy.h"
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestQtClipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setTextReadsBack_data();
    void setTextReadsBack();
    void clearEmpties();
    void oneAttemptSuffices();
};

void TestQtClipboard::setTextReadsBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("one line") << u"IF-I-FILE\r\n"_s;
    QTest::newRow("CR LF, TABs and trailing spaces stay") << u"abc  \tdefg\r\nx\t\r\n\r\n  y  "_s;
    QTest::newRow("non-ASCII") << u"ÄÖÜ 日本 😀\r\n"_s;
    QTest::newRow("the empty text") << QString();
    QTest::newRow("a large text") << QString(2'000'000, u'A');
}

void TestQtClipboard::setTextReadsBack()
{
    QFETCH(QString, text);
    platform::QtClipboard clipboard;
    QGuiApplication::clipboard()->setText(u"something else"_s);
    QVERIFY(clipboard.setText(text));
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
}

void TestQtClipboard::clearEmpties()
{
    platform::QtClipboard clipboard;
    QGuiApplication::clipboard()->setText(u"previous"_s);
    QVERIFY(clipboard.clear());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestQtClipboard::oneAttemptSuffices()
{
    // The retrying functions over the real clipboard.
    platform::QtClipboard clipboard;
    QGuiApplication::clipboard()->setText(u"previous"_s);
    output::clearClipboard(clipboard);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QVERIFY(output::setClipboardText(clipboard, u"A\r\nB\r\n"_s));
    QCOMPARE(QGuiApplication::clipboard()->text(), u"A\r\nB\r\n"_s);
}

QTEST_MAIN(TestQtClipboard)
#include "tst_clipboard_qt.moc"
