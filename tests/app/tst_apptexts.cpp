// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ApplicationTitle.h"
#include "app/HelpText.h"
#include "app/OptionSettings.h"
#include "core/Failure.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class AppTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void applicationTitle_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one word is used whole") << u"Digitome"_s << u"Digitome"_s;
        QTest::newRow("the last word always goes") << u"Digitome Pro"_s << u"Digitome"_s;
        QTest::newRow("words go until 40 characters remain")
            << u"Tarrowen Digitome Phone Number Word Finder Deluxe Edition"_s
            << u"Tarrowen Digitome Phone Number Word"_s;
        QTest::newRow("a trailing blank is the last word") << u"Digitome "_s << u"Digitome"_s;
    }
    void applicationTitle()
    {
        QFETCH(QString, product);
        QFETCH(QString, expected);
        QCOMPARE(app::applicationTitleOf(product), expected);
    }

    void storedTextAsBoolean_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << u"True"_s << true;
        QTest::newRow("False") << u"False"_s << false;
        QTest::newRow("words in any case") << u"tRUE"_s << true;
        QTest::newRow("default 1") << u"1"_s << true;
        QTest::newRow("default 0") << u"0"_s << false;
        QTest::newRow("any other number is true") << u"-1"_s << true;
        QTest::newRow("a fraction is a number") << u"0.5"_s << true;
        QTest::newRow("zero with exponent") << u"0e5"_s << false;
        QTest::newRow("outer blanks ignored") << u" False "_s << false;
    }
    void storedTextAsBoolean()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(app::OptionSettings::toBoolean(text), expected);
    }

    void textsThatAreNoBoolean_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("yes") << u"yes"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("a checked box as stored by hand") << u"checked"_s;
        QTest::newRow("number with junk") << u"1x"_s;
    }
    void textsThatAreNoBoolean()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(core::Failure, app::OptionSettings::toBoolean(text));
    }

    void helpMessageIsAssembledFromTheCaptions()
    {
        const QString text = app::helpMessage(u"Mnemonic"_s, u"Spelled"_s);
        QVERIFY(
            text.startsWith(u"\"Mnemonic\" - This feature will convert numbers to possible "
                            "letter representations on a phone keypad. For example, "
                            "434-3453 into IF-I-FILE because 4 is GHI and 3 is DEF.\r\rNote: "_s));
        QVERIFY(text.contains(u"when testing.\r\n\r\n\"Spelled\" - This feature will spell out "
                              "numbers. For example, 434-3453 becomes four three four three four "
                              "five three.\r\n\r\nQuestions? Please contact Team Tarrowen at "_s));
        QVERIFY(text.endsWith(u"/contact/"_s));
        QCOMPARE(text.count(u"\r\r"_s), 1);
    }
};

QTEST_GUILESS_MAIN(AppTextsTest)
#include "tst_apptexts.moc"
