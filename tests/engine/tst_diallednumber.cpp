// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/DialledNumber.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestDialledNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lettersBecomeTheirKeys_data();
    void lettersBecomeTheirKeys();
};

void TestDialledNumber::lettersBecomeTheirKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("lettersOnNoKey");
    QTest::addColumn<QString>("undialled");
    QTest::addColumn<int>("planLength");

    QTest::newRow("a toll-free word of seven is grouped three and four")
        << u"1-800-FLOWERS"_s << u"1-800-356-9377"_s << QString() << QString() << 11;
    QTest::newRow("lower case too")
        << u"1-800-flowers"_s << u"1-800-356-9377"_s << QString() << QString() << 11;
    QTest::newRow("typed groups stay")
        << u"(212) MY-PIZZA"_s << u"(212) 69-74992"_s << QString() << QString() << 10;
    QTest::newRow("a word glued to its prefix stays glued")
        << u"1800FLOWERS"_s << u"18003569377"_s << QString() << QString() << 11;
    QTest::newRow("+1 is the North American country code")
        << u"+1 800 FLOWERS"_s << u"+1 800 356-9377"_s << QString() << QString() << 11;
    QTest::newRow("one letter beyond the plan with the leading 1")
        << u"1-800-FLOWERSS"_s << u"1-800-35693777"_s << QString() << u"S"_s << 11;
    QTest::newRow("letters beyond the plan without it")
        << u"800-FLOWERS-NOW"_s << u"800-3569377-669"_s << QString() << u"NOW"_s << 10;
    QTest::newRow("digits typed beyond the plan are no letters")
        << u"1-800-FLOWERS-12"_s << u"1-800-3569377-12"_s << QString() << QString() << 11;
    QTest::newRow("another country code: no plan")
        << u"+44 20 FLOWERSXYZ"_s << u"+44 20 3569377999"_s << QString() << QString() << 0;
    QTest::newRow("dialling abroad: no plan")
        << u"011 44 FLOWERSXYZ"_s << u"011 44 3569377999"_s << QString() << QString() << 0;
    QTest::newRow("Cyrillic") << u"8-800-МАМА"_s << u"8-800-5252"_s << QString() << QString() << 10;
    QTest::newRow("Greek and letters with marks")
        << u"ÉTÉ-αβγ"_s << u"383-222"_s << QString() << QString() << 10;
    QTest::newRow("a letter and a combining mark are one letter")
        << u"CAFE\u0301"_s << u"2233"_s << QString() << QString() << 10;
    QTest::newRow("letters on no key are kept and listed once")
        << u"555-שלום-ש"_s << u"555-שלום-ש"_s << u"שלום"_s << QString() << 10;
    QTest::newRow("a letter beyond U+FFFF is on no key")
        << u"555-\U0001D400\U0001D400"_s << u"555-\U0001D400\U0001D400"_s << u"\U0001D400"_s
        << QString() << 10;
    QTest::newRow("no letters: as typed")
        << u"555-1234"_s << u"555-1234"_s << QString() << QString() << 10;
    QTest::newRow("empty") << QString() << QString() << QString() << QString() << 0;
}

void TestDialledNumber::lettersBecomeTheirKeys()
{
    QFETCH(QString, typed);
    const engine::DialledNumber dialled = engine::dialledNumber(typed);
    QTEST(dialled.digits, "digits");
    QTEST(dialled.lettersOnNoKey, "lettersOnNoKey");
    QTEST(dialled.undialledLetters, "undialled");
    QTEST(dialled.planLength, "planLength");
}

QTEST_GUILESS_MAIN(TestDialledNumber)
#include "tst_diallednumber.moc"
