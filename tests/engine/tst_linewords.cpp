// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineWords.h"
#include "engine/WordStore.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestLineWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void wordsAndRatingOfALine_data();
    void wordsAndRatingOfALine();
    void aStoreWithoutRatingsRatesNothing();

private:
    engine::WordStore m_words;
};

void TestLineWords::initTestCase()
{
    m_words.add(u"flowers"_s);
    m_words.add(u"bastard"_s, 0, 1);
    m_words.add(u"whore"_s, 0, 2);
    m_words.add(u"ass"_s, 0, 5); // above the scale: likely
    m_words.add(u"müll"_s, 0, 1);
    m_words.add(u"σκατά"_s, 0, 2);
    // Far beyond the first slots of the ratings.
    for (int i = 0; i < 5000; ++i)
        m_words.add(u"filler%1"_s.arg(i, 5, 10, QChar(u'0')).replace(u'0', u'o'));
    m_words.add(u"latecomer"_s, 0, 2);
    // A word added again keeps its first rating.
    QCOMPARE(m_words.tryAdd(u"whore"_s, 0, 0), engine::WordStore::Added::AlreadyPresent);
}

void TestLineWords::wordsAndRatingOfALine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("rating");

    QTest::newRow("digits are no words") << u"1-800-FLOWERS"_s << QStringList{u"FLOWERS"_s} << 0;
    QTest::newRow("a word rated maybe") << u"BASTARD"_s << QStringList{u"BASTARD"_s} << 1;
    QTest::newRow("the highest rating of the line")
        << u"1-WHORE-BASTARD"_s << QStringList{u"WHORE"_s, u"BASTARD"_s} << 2;
    QTest::newRow("a rating above 2 is kept as 2") << u"ASS"_s << QStringList{u"ASS"_s} << 2;
    QTest::newRow("only whole pieces count")
        << u"BASTARDS-ASSAY"_s << QStringList{u"BASTARDS"_s, u"ASSAY"_s} << 0;
    QTest::newRow("a piece with a digit is a number") << u"ASS4-2"_s << QStringList() << 0;
    QTest::newRow("the appended number is not part of the line")
        << u"FLOWERS   -   ASS"_s << QStringList{u"FLOWERS"_s} << 0;
    QTest::newRow("letters beyond ASCII looked up lower-cased")
        << u"MÜLL-2"_s << QStringList{u"MÜLL"_s} << 1;
    QTest::newRow("a final sigma reads as sigma") << u"ΣΚΑΤΆ"_s << QStringList{u"ΣΚΑΤΆ"_s} << 2;
    QTest::newRow("a word added after thousands of others")
        << u"LATECOMER"_s << QStringList{u"LATECOMER"_s} << 2;
    QTest::newRow("an empty line") << QString() << QStringList() << 0;
}

void TestLineWords::wordsAndRatingOfALine()
{
    QFETCH(QString, line);
    QTEST(engine::wordsOfLine(line), "words");
    QTEST(engine::offensiveRatingOf(m_words, line), "rating");
}

void TestLineWords::aStoreWithoutRatingsRatesNothing()
{
    engine::WordStore words;
    words.add(u"whore"_s);
    QVERIFY(!words.hasOffensiveWords());
    QCOMPARE(engine::offensiveRatingOf(words, u"WHORE"), 0);
    words.add(u"bastard"_s, 0, 1);
    QVERIFY(words.hasOffensiveWords());
    QCOMPARE(engine::offensiveRatingOf(words, u"BASTARD-WHORE"), 1);
}

QTEST_GUILESS_MAIN(TestLineWords)
#include "tst_linewords.moc"
