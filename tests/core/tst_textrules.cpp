// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/TextRules.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestTextRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trimBlanks_data();
    void trimBlanks();
    void loneSurrogates_data();
    void loneSurrogates();
};

void TestTextRules::trimBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("outer blanks go") << u"  434 3453 "_s << u"434 3453"_s;
    QTest::newRow("tabs and line breaks stay") << u"\t 5\n"_s << u"\t 5\n"_s;
    QTest::newRow("blanks only") << u"   "_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestTextRules::trimBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(core::text::trimBlanks(text).toString(), trimmed);
    core::text::trimBlanksInPlace(text);
    QCOMPARE(text, trimmed);
}

// A lone surrogate becomes U+FFFD, in place and in UTF-8 alike.
void TestTextRules::loneSurrogates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("repaired");
    const QChar high(0xD83D);
    const QChar low(0xDE00);
    QTest::newRow("a pair stays") << u"a\U0001F600b"_s << u"a\U0001F600b"_s;
    QTest::newRow("a high one alone") << u"a"_s + high + u"b"_s << u"a\uFFFDb"_s;
    QTest::newRow("a low one alone") << QString(low) + u"b"_s << u"\uFFFDb"_s;
    QTest::newRow("a high one at the end") << u"\u00e9\u20ac"_s + high << u"\u00e9\u20ac\uFFFD"_s;
    QTest::newRow("reversed halves") << QString(low) + high << u"\uFFFD\uFFFD"_s;
}

void TestTextRules::loneSurrogates()
{
    QFETCH(QString, text);
    QFETCH(QString, repaired);
    QCOMPARE(core::text::hasLoneSurrogate(text), text != repaired);
    QByteArray utf8(core::text::utf8Size(text), '\0');
    QCOMPARE(core::text::writeUtf8(text, utf8.data()), utf8.data() + utf8.size());
    QCOMPARE(utf8, repaired.toUtf8());
    core::text::replaceLoneSurrogates(text);
    QCOMPARE(text, repaired);
}

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_textrules.moc"
