// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "engine/DictionaryKeypad.h"
#include "engine/Keypad.h"
#include "engine/KeypadTables.h"
#include "engine/NumberText.h"
#include "engine/WordStore.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;
using namespace engine::keypad;

class TestKeypad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keypadLetters_data();
    void keypadLetters();
    void lettersBeyondAzHaveKeys_data();
    void lettersBeyondAzHaveKeys();
    void dictionaryKeypadOffersItsLetters_data();
    void dictionaryKeypadOffersItsLetters();
    void containsDigit_data();
    void containsDigit();
    void isNumericText_data();
    void isNumericText();
    void isNumericTextAgreesWithGrammarAndRange();
    void digitWords();
    void digitWordsOutsideTheTableFail();
    void numbersDropTheirSeparators_data();
    void numbersDropTheirSeparators();
};

void TestKeypad::keypadLetters_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("choices");
    QTest::newRow("2 has ABC") << u"2"_s << u"2ABC"_s;
    QTest::newRow("3 has DEF") << u"3"_s << u"3DEF"_s;
    QTest::newRow("4 has GHI") << u"4"_s << u"4GHI"_s;
    QTest::newRow("5 has JKL") << u"5"_s << u"5JKL"_s;
    QTest::newRow("6 has MNO") << u"6"_s << u"6MNO"_s;
    QTest::newRow("7 has PQRS") << u"7"_s << u"7PQRS"_s;
    QTest::newRow("8 has TUV") << u"8"_s << u"8TUV"_s;
    QTest::newRow("9 has WXYZ") << u"9"_s << u"9WXYZ"_s;
    QTest::newRow("0 stays") << u"0"_s << u"0"_s;
    QTest::newRow("1 stays") << u"1"_s << u"1"_s;
    QTest::newRow("a letter stays") << u"a"_s << u"a"_s;
    QTest::newRow("a capital stays") << u"A"_s << u"A"_s;
    QTest::newRow("two digits stay") << u"23"_s << u"23"_s;
    QTest::newRow("empty stays") << QString() << QString();
    QTest::newRow("blank stays") << u" "_s << u" "_s;
    QTest::newRow("fullwidth digit stays") << u"\uff12"_s << u"\uff12"_s;
}

void TestKeypad::keypadLetters()
{
    QFETCH(QString, key);
    QFETCH(QString, choices);
    QCOMPARE(choicesOf(key), choices);
}

void TestKeypad::lettersBeyondAzHaveKeys_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QString>("keys"); // "0": on no key
    QTest::newRow("A-Z in both cases") << u"aZqS"_s << u"2977"_s;
    QTest::newRow("marks dropped")
        << u"\u00e9\u00c4\u00f1\u00dc\u00e7\u0119\u017a"_s << u"3268239"_s;
    QTest::newRow("no decomposition: \u00df \u00f8 \u0153 \u0142 \u0111 \u00f0 \u00e6 \u00fe")
        << u"\u00df\u00f8\u0153\u0142\u0111\u00f0\u00e6\u00fe\u1e9e"_s << u"766533287"_s;
    QTest::newRow("Cyrillic")
        << u"\u0430\u0491\u0451\u0454\u0439\u0457\u043f\u0443\u0447\u044b\u044f"_s
        << u"22334456789"_s;
    QTest::newRow("Greek, accents and final sigma")
        << u"\u03b1\u03ac\u03b6\u0390\u03bc\u03be\u03c2\u03a3\u03cd\u03c9"_s << u"2234567789"_s;
    QTest::newRow("no key: Hebrew, CJK, marks, digits, signs")
        << u"\u05d0\u4e2d\u0301\u20ac5- "_s << u"0000000"_s;
}

void TestKeypad::lettersBeyondAzHaveKeys()
{
    QFETCH(QString, letters);
    QFETCH(QString, keys);
    QString found;
    for (const QChar letter : letters) {
        const char16_t key = engine::keypad::keyOf(letter.unicode());
        found += QChar(key != 0 ? key : u'0');
    }
    QCOMPARE(found, keys);
}

void TestKeypad::dictionaryKeypadOffersItsLetters_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("choices");
    QTest::newRow("an English dictionary: A-Z alone")
        << QStringList{u"file"_s, u"if"_s} << u"8"_s << u"8TUV"_s;
    QTest::newRow("after A-Z, in upper case")
        << QStringList{u"m\u00fcller"_s, u"\u00fcber"_s} << u"8"_s << u"8TUV\u00dc"_s;
    QTest::newRow("\u00df stays one letter")
        << QStringList{u"stra\u00dfe"_s} << u"7"_s << u"7PQRS\u00df"_s;
    QTest::newRow("order: marks after their base, then the rows: Latin, Cyrillic, Greek")
        << QStringList{u"\u03ac\u03b1"_s, u"\u0430"_s, u"\u00e6"_s, u"\u00e7\u00e0"_s, u"\u00e2"_s}
        << u"2"_s << u"2ABC\u00c0\u00c2\u00c7\u00c6\u0410\u0391\u0386"_s;
    QTest::newRow("final sigma is shown as sigma once")
        << QStringList{u"\u03bb\u03cc\u03b3\u03bf\u03c2"_s, u"\u03c3\u03b5"_s} << u"7"_s
        << u"7PQRS\u03a3"_s;
    QTest::newRow("capitals and unusable words add nothing")
        << QStringList{u"M\u00dcLLER"_s, u"\u05d0\u00fc"_s} << u"8"_s << u"8TUV"_s;
    QTest::newRow("other characters are their own choice")
        << QStringList{u"\u00e9"_s} << u"\u00e9"_s << u"\u00e9"_s;
    QTest::newRow("0 has no letters") << QStringList{u"\u00e9"_s} << u"0"_s << u"0"_s;
}

void TestKeypad::dictionaryKeypadOffersItsLetters()
{
    QFETCH(QStringList, words);
    QFETCH(QString, key);
    QFETCH(QString, choices);
    engine::WordStore store;
    for (const QString &word : words)
        store.add(word);
    QCOMPARE(engine::DictionaryKeypad(store).choicesOf(key.front()), choices);
}

void TestKeypad::containsDigit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("words only") << u"IF-I-FILE"_s << false;
    QTest::newRow("a digit inside") << u"IF-1-FILE"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("zero") << u"0"_s << true;
    QTest::newRow("nine at the end") << u"abc9"_s << true;
    QTest::newRow("arabic-indic digit is no digit") << u"\u0663"_s << false;
    QTest::newRow("fullwidth digit is no digit") << u"\uff13"_s << false;
}

void TestKeypad::containsDigit()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(engine::keypad::containsDigit(text), expected);
}

void TestKeypad::isNumericText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::newRow("a digit") << u"0"_s << true;
    QTest::newRow("digits") << u"434"_s << true;
    QTest::newRow("e exponent") << u"3e3"_s << true;
    QTest::newRow("D exponent") << u"3D3"_s << true;
    QTest::newRow("d exponent") << u"33d4"_s << true;
    QTest::newRow("E exponent") << u"3E3"_s << true;
    QTest::newRow("exponent without digits") << u"3e"_s << false;
    QTest::newRow("exponent without mantissa") << u"e3"_s << false;
    QTest::newRow("other letter") << u"3f3"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("a blank") << u" "_s << false;
    QTest::newRow("minus alone") << u"-"_s << false;
    QTest::newRow("parenthesis") << u"("_s << false;
    QTest::newRow("outer blanks") << u" 43 "_s << true;
    QTest::newRow("inner blank") << u"4 3"_s << false;
    QTest::newRow("plus sign") << u"+5"_s << true;
    QTest::newRow("minus sign") << u"-5"_s << true;
    QTest::newRow("sign then blank") << u"- 5"_s << false;
    QTest::newRow("two signs") << u"+-5"_s << false;
    QTest::newRow("point first") << u".5"_s << true;
    QTest::newRow("point last") << u"5."_s << true;
    QTest::newRow("point alone") << u"."_s << false;
    QTest::newRow("two points") << u"1.2.3"_s << false;
    QTest::newRow("signed exponent") << u"1.5e-3"_s << true;
    QTest::newRow("plus exponent") << u"1.5E+3"_s << true;
    QTest::newRow("exponent sign only") << u"1e+"_s << false;
    QTest::newRow("point then exponent") << u"5.e3"_s << true;
    QTest::newRow("point only then exponent") << u".e3"_s << false;
    QTest::newRow("blank after exponent") << u"1e5 "_s << true;
    QTest::newRow("blank before exponent") << u"1 e5"_s << false;
    QTest::newRow("overflowing exponent") << u"3e999"_s << false;
    QTest::newRow("largest power") << u"1e308"_s << true;
    QTest::newRow("largest double") << u"1.7976931348623157e308"_s << true;
    QTest::newRow("rounds to the largest double") << u"1.79769313486231580e308"_s << true;
    QTest::newRow("rounds to infinity") << u"1.7976931348623159e308"_s << false;
    QTest::newRow("just beyond") << u"1.8e308"_s << false;
    QTest::newRow("309 digits") << (u"1"_s + QString(308, u'0')) << true;
    QTest::newRow("310 digits") << (u"1"_s + QString(309, u'0')) << false;
    QTest::newRow("long zeros") << QString(5000, u'0') << true;
    QTest::newRow("zero with a huge exponent") << u"0e99999999999999999999"_s << true;
    QTest::newRow("underflow is zero") << u"1e-999"_s << true;
    QTest::newRow("fraction scaled up") << u"0.0001e311"_s << true;
    QTest::newRow("fraction scaled too far") << u"0.01e311"_s << false;
    QTest::newRow("huge exponent digits") << u"1e99999999999999999999999"_s << false;
    QTest::newRow("tab is no blank") << u"\t5"_s << false;
    QTest::newRow("no thousands separator") << u"1,000"_s << false;
    QTest::newRow("no currency sign") << u"$5"_s << false;
    QTest::newRow("no hexadecimal") << u"&H10"_s << false;
    QTest::newRow("no parentheses") << u"(5)"_s << false;
    QTest::newRow("fullwidth digit") << u"\uff15"_s << false;
}

void TestKeypad::isNumericText()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(engine::keypad::isNumericText(text), numeric);
}

// Random texts over the grammar's alphabet against a regular expression of the
// grammar and strtod's range.
void TestKeypad::isNumericTextAgreesWithGrammarAndRange()
{
    static const QRegularExpression grammar(
        u"^ *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)? *$"_s);
    const QString alphabet = u"0123456789 +-.eEdDx"_s;
    QRandomGenerator random(20210831);
    for (int round = 0; round < 200000; ++round) {
        QString text;
        const int length = random.bounded(1, 9);
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(alphabet.size()));
        if (random.bounded(4) == 0)
            text += u"e30"_s + QString::number(random.bounded(3, 10));
        bool expected = grammar.match(text).hasMatch();
        if (expected) {
            QByteArray c = text.toLatin1().replace('d', 'e').replace('D', 'e');
            expected = std::isfinite(std::strtod(c.constData(), nullptr));
        }
        QVERIFY2(engine::keypad::isNumericText(text) == expected, qPrintable(text));
    }
}

void TestKeypad::digitWords()
{
    const QStringList words = {u"zero"_s,
                               u"one"_s,
                               u"two"_s,
                               u"three"_s,
                               u"four"_s,
                               u"five"_s,
                               u"six"_s,
                               u"seven"_s,
                               u"eight"_s,
                               u"nine"_s};
    for (int digit = 0; digit <= 9; ++digit)
        QCOMPARE(digitWord(digit), words.at(digit));
}

void TestKeypad::digitWordsOutsideTheTableFail()
{
    for (int index : {-1, 10, 100}) {
        try {
            digitWord(index);
            QFAIL("no failure");
        } catch (const core::Failure &failure) {
            QCOMPARE(failure.description(), u"Subscript out of range"_s);
        }
    }
}

void TestKeypad::numbersDropTheirSeparators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");
    QTest::newRow("hyphens go") << u"434-3453"_s << u"4343453"_s;
    QTest::newRow("parentheses go, the inner blank stays")
        << u"(800) 555-1234"_s << u"800 5551234"_s;
    QTest::newRow("blanks freed by a hyphen are outer") << u" - 5 - "_s << u"5"_s;
    QTest::newRow("tabs, dots and plus signs stay") << u"\t+1.5 "_s << u"\t+1.5"_s;
    QTest::newRow("letters stay") << u"1-800-FLOWERS"_s << u"1800FLOWERS"_s;
    QTest::newRow("nothing but separators") << u"( - )"_s << QString();
}

void TestKeypad::numbersDropTheirSeparators()
{
    QFETCH(QString, text);
    QFETCH(QString, number);
    QCOMPARE(engine::number::normalised(text), number);
    QCOMPARE(engine::number::normalisedLength(text), number.size());
}

QTEST_GUILESS_MAIN(TestKeypad)
#include "tst_keypad.moc"
