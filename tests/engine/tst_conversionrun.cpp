// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ErrorReport.h"
#include "engine/ConversionRun.h"
#include "engine/WordStore.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FakeWindow.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using core::ErrorReport;
using core::Pointer;
using engine::ConversionRun;
using Mode = engine::ConversionRun::SearchMode;
using enginetest::runOnce;
using enginetest::storeOf;

namespace {

QString runReport(const QString &description, int line)
{
    return ErrorReport::text(description, u"Form1.PushButton17_Click"_s, line);
}

engine::WordStore workedExampleStore()
{
    return storeOf({u"i"_s, u"if"_s, u"file"_s});
}

} // namespace

class TestConversionRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spelledOut_data();
    void spelledOut();
    void spelledOutSamples();
    void runStartsAndEndsInTheIdleState_data();
    void runStartsAndEndsInTheIdleState();
    void mnemonicProgressPerNumber();
    void emptyListStillClearsTheResults();
    void neitherConversionConvertsNothing();
    void shortNumbersGiveNoMnemonicLine_data();
    void shortNumbersGiveNoMnemonicLine();
    void wordsOnlyDropsNumbersWithZeroOrOne();
    void duplicatesAreKept();
    void clickDuringARunStops_data();
    void clickDuringARunStops();
    void spelledOutStopsAfterTheNumber();
    void spelledOutLongNumberYieldsAndStops();
    void itemsRemovedDuringARun_data();
    void itemsRemovedDuringARun();
    void originalNumberVanishedDuringARun();
    void optionsChangedDuringARun();
};

void TestConversionRun::spelledOut_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("check1");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("language");
    QTest::newRow("digits") << u"434-3453"_s << 0 << u"four three four three four five three"_s
                            << QString();
    QTest::newRow("with the original number")
        << u"434-3453"_s << 1 << u"four three four three four five three    -   434-3453"_s
        << QString();
    QTest::newRow("inner blank is copied")
        << u"(800) 555-1234"_s << 0 << u"eight zero zero   five five five one two three four"_s
        << QString();
    QTest::newRow("letters are copied")
        << u"1-800-FLOWERS"_s << 0 << u"one eight zero zero F L O W E R S"_s << QString();
    QTest::newRow("one digit") << u"7"_s << 0 << u"seven"_s << QString();
    QTest::newRow("one character") << u"x"_s << 0 << u"x"_s << QString();
    QTest::newRow("empty number") << QString() << 0 << QString() << QString();
    QTest::newRow("empty number with the original") << QString() << 1 << u"-"_s << QString();
    QTest::newRow("only removed characters with the original")
        << u"(-)"_s << 1 << u"-   (-)"_s << QString();
    QTest::newRow("outer blanks are dropped") << u"  12  "_s << 0 << u"one two"_s << QString();
    QTest::newRow("tab is kept") << u"\t1"_s << 0 << u"\t one"_s << QString();
    QTest::newRow("dot and plus") << u"+1.5"_s << 0 << u"+ one . five"_s << QString();
    QTest::newRow("a surrogate pair is one character")
        << u"4\U0001F600"
           "3"_s
        << 0 << u"four \U0001F600 three"_s << QString();
    // Every language names the ten digits; English is the default.
    const QString allDigits = u"0123456789"_s;
    const std::pair<const char16_t *, const char16_t *> languages[] = {
        {u"en", u"zero one two three four five six seven eight nine"},
        {u"de", u"null eins zwei drei vier fünf sechs sieben acht neun"},
        {u"fr", u"zéro un deux trois quatre cinq six sept huit neuf"},
        {u"es", u"cero uno dos tres cuatro cinco seis siete ocho nueve"},
        {u"it", u"zero uno due tre quattro cinque sei sette otto nove"},
        {u"pl", u"zero jeden dwa trzy cztery pięć sześć siedem osiem dziewięć"},
        {u"ru", u"ноль один два три четыре пять шесть семь восемь девять"},
        {u"uk", u"нуль один два три чотири п'ять шість сім вісім дев'ять"},
        {u"bg", u"нула едно две три четири пет шест седем осем девет"},
        {u"el", u"μηδέν ένα δύο τρία τέσσερα πέντε έξι επτά οκτώ εννέα"},
        {u"xx", u"zero one two three four five six seven eight nine"},
    };
    for (const auto &[code, names] : languages) {
        const QString language = QString::fromUtf16(code);
        QTest::addRow("digits in %s", qPrintable(language))
            << allDigits << 0 << QString::fromUtf16(names) << language;
    }
    QTest::newRow("other characters and the original stay in another language")
        << u"(030) 12 x"_s << 1 << u"null drei null   eins zwei   x    -   (030) 12 x"_s << u"de"_s;
    QTest::newRow("the original keeps its inner blanks, not its outer ones")
        << u" 5 "_s << 1 << u"five    -    5"_s << QString();
    QTest::newRow("blanks only with the original") << u"   "_s << 1 << u"-"_s << QString();
    QTest::newRow("a long number across many pieces and yields")
        << QString(200'000, u'7') + u"-\u00e9"_s << 1
        << u"seven "_s.repeated(200'000) + u"\u00e9    -   "_s + QString(200'000, u'7')
               + u"-\u00e9"_s
        << QString();
}

void TestConversionRun::spelledOut()
{
    QFETCH(QString, number);
    QFETCH(int, check1);
    QFETCH(QString, line);
    QFETCH(QString, language);
    // Written into the results in pieces, and built whole for a window that
    // takes lines whole.
    for (const bool inPieces : {true, false}) {
        FakeWindow host;
        host.setNumbers({number});
        host.setSpelledOut();
        host.options.appendOriginalNumber = check1;
        host.options.spellLanguage = language;
        QStringList whole;
        if (!inPieces)
            host.onResult = [&whole](const QString &text) {
                whole.append(text);
            };
        runOnce(host, storeOf({}), Mode::Fast);
        QCOMPARE(inPieces ? host.resultTexts() : whole, QStringList{line});
        QVERIFY(host.reports().isEmpty());
    }
}

void TestConversionRun::spelledOutSamples()
{
    FakeWindow host;
    host.setNumbers({u"434-3453"_s, u"234-9237"_s});
    host.setSpelledOut();
    runOnce(host, storeOf({}), Mode::Fast);
    QCOMPARE(host.resultTexts(),
             (QStringList{u"four three four three four five three"_s,
                          u"two three four nine two three seven"_s}));
    QCOMPARE(host.progressValues, (QList<double>{50, 100, 0}));
    // The spelled-out mode shows the hourglass once.
    QCOMPARE(host.pointerHistory, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
}

void TestConversionRun::runStartsAndEndsInTheIdleState_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fast") << int(Mode::Fast);
    QTest::newRow("reference") << int(Mode::Reference);
}

void TestConversionRun::runStartsAndEndsInTheIdleState()
{
    QFETCH(int, mode);
    FakeWindow host;
    host.setNumbers({u"434-3453"_s});
    host.setMnemonic(false, true);
    host.setResults({u"old"_s});
    QString captionDuringRun;
    Pointer pointerDuringRun = Pointer::Default;
    QStringList resultsDuringRun = {u"unset"_s};
    host.onYield = [&] {
        captionDuringRun = host.caption;
        pointerDuringRun = host.currentPointer;
        if (resultsDuringRun == QStringList{u"unset"_s})
            resultsDuringRun = host.resultTexts();
    };
    runOnce(host, workedExampleStore(), Mode(mode));
    QCOMPARE(captionDuringRun, u"Stop"_s);
    QCOMPARE(pointerDuringRun, Pointer::Hourglass);
    QVERIFY(resultsDuringRun.isEmpty());
    QCOMPARE(host.captionHistory, (QStringList{u"Stop"_s, u"Start Converting"_s}));
    QCOMPARE(host.currentPointer, Pointer::Default);
    QCOMPARE(host.progressValue, 0.0);
    QCOMPARE(host.progressText, u"Progress Bar"_s);
    QCOMPARE(host.resultTexts(), QStringList{u"IF-I-FILE"_s});
    QVERIFY(host.reports().isEmpty());
}

void TestConversionRun::mnemonicProgressPerNumber()
{
    FakeWindow host;
    host.setNumbers({u"434-3453"_s, u"5"_s, u"234-9237"_s, u"0"_s});
    host.setMnemonic(false, true);
    runOnce(host, workedExampleStore(), Mode::Fast);
    QCOMPARE(host.progressValues, (QList<double>{25, 50, 75, 100, 0}));
    // The hourglass again for every number.
    QCOMPARE(host.pointerHistory,
             (QList<Pointer>{Pointer::Hourglass,
                             Pointer::Hourglass,
                             Pointer::Hourglass,
                             Pointer::Hourglass,
                             Pointer::Hourglass,
                             Pointer::Default}));
}

void TestConversionRun::emptyListStillClearsTheResults()
{
    for (bool mnemonic : {true, false}) {
        FakeWindow host;
        host.setResults({u"old"_s});
        if (mnemonic)
            host.setMnemonic(true, false);
        else
            host.setSpelledOut();
        runOnce(host, workedExampleStore(), Mode::Fast);
        QVERIFY(host.resultTexts().isEmpty());
        QCOMPARE(host.resultClears, 1);
        QCOMPARE(host.progressValues, QList<double>{0});
        QCOMPARE(host.progressTexts, QStringList{u"Progress Bar"_s});
        QCOMPARE(host.caption, u"Start Converting"_s);
        QVERIFY(host.reports().isEmpty());
    }
}

void TestConversionRun::neitherConversionConvertsNothing()
{
    FakeWindow host;
    host.setNumbers({u"434-3453"_s});
    host.setResults({u"old"_s});
    host.options.conversion = core::ConversionOptions::Conversion::None;
    runOnce(host, workedExampleStore(), Mode::Fast);
    QVERIFY(host.resultTexts().isEmpty());
    QCOMPARE(host.yields, 0);
    QCOMPARE(host.caption, u"Start Converting"_s);
}

void TestConversionRun::shortNumbersGiveNoMnemonicLine_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("one digit") << u"4"_s;
    QTest::newRow("one digit in dressing") << u" (4)- "_s;
    QTest::newRow("empty") << QString();
}

void TestConversionRun::shortNumbersGiveNoMnemonicLine()
{
    QFETCH(QString, number);
    const auto store = storeOf({u"i"_s, u"g"_s, u"h"_s});
    for (int mode : {int(Mode::Fast), int(Mode::Reference)}) {
        FakeWindow host;
        host.setNumbers({number});
        host.setMnemonic(true, false);
        qint64 count = -1;
        runOnce(host, store, Mode(mode), &count);
        QVERIFY(host.resultTexts().isEmpty());
        QCOMPARE(count, 0);
    }
}

void TestConversionRun::wordsOnlyDropsNumbersWithZeroOrOne()
{
    const auto store = storeOf({u"i"_s, u"if"_s, u"file"_s, u"ifif"_s});
    for (const QString &number : {u"434-3450"_s, u"1-434-3453"_s}) {
        FakeWindow host;
        host.setNumbers({number});
        host.setMnemonic(false, true);
        qint64 fastCount = 0;
        qint64 referenceCount = 0;
        runOnce(host, store, Mode::Fast, &fastCount);
        QVERIFY(host.resultTexts().isEmpty());
        runOnce(host, store, Mode::Reference, &referenceCount);
        QVERIFY(host.resultTexts().isEmpty());
        QCOMPARE(fastCount, referenceCount);
    }
}

void TestConversionRun::duplicatesAreKept()
{
    FakeWindow host;
    host.setNumbers({u"434-3453"_s, u"434-3453"_s});
    host.setMnemonic(false, true);
    qint64 count = 0;
    runOnce(host, workedExampleStore(), Mode::Fast, &count);
    QCOMPARE(host.resultTexts(), (QStringList{u"IF-I-FILE"_s, u"IF-I-FILE"_s}));
    QCOMPARE(count, 2 * 21844);
}

void TestConversionRun::clickDuringARunStops_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fast") << int(Mode::Fast);
    QTest::newRow("reference") << int(Mode::Reference);
}

// A click while the caption reads "Stop" only sets StopRequested; the run
// ends at its next checkpoint and keeps the lines made so far.
void TestConversionRun::clickDuringARunStops()
{
    QFETCH(int, mode);
    const auto store = workedExampleStore();
    FakeWindow host;
    host.setNumbers({u"434-3453"_s, u"434-3453"_s});
    host.setMnemonic(true, false);
    ConversionRun run(store);
    run.setSearchMode(Mode(mode));
    bool clicked = false;
    QString captionAfterClick;
    host.onYield = [&] {
        if (!clicked && host.resultTexts().size() == 3) {
            clicked = true;
            run.startOrStop(host);
            captionAfterClick = host.caption;
        }
    };
    run.startOrStop(host);
    QVERIFY(clicked);
    QVERIFY(run.stopRequested());
    QCOMPARE(captionAfterClick, u"Stop"_s);
    // The lines of the reading being cut when the click came are finished
    // (a checkpoint follows every cut), then the run ends.
    QCOMPARE(host.resultTexts().mid(0, 3),
             QStringList({u"4-3-I-FILE"_s, u"43-I-FILE"_s, u"4D4-FILE"_s}));
    QVERIFY(host.resultTexts().size() <= 4);
    QCOMPARE(host.caption, u"Start Converting"_s);
    QCOMPARE(host.progressText, u"Progress Bar"_s);
    QCOMPARE(host.currentPointer, Pointer::Default);
    QVERIFY(host.reports().isEmpty());
    // The next click starts afresh.
    host.onYield = nullptr;
    run.startOrStop(host);
    QVERIFY(!run.stopRequested());
    QCOMPARE(host.resultTexts().size(), 22);
}

void TestConversionRun::spelledOutStopsAfterTheNumber()
{
    FakeWindow host;
    host.setNumbers({u"1"_s, u"2"_s, u"3"_s});
    host.setSpelledOut();
    ConversionRun run(storeOf({}));
    host.onYield = [&] {
        if (host.yields == 1)
            run.startOrStop(host);
    };
    run.startOrStop(host);
    QCOMPARE(host.resultTexts(), QStringList{u"one"_s});
}

// A long number yields while it is spelled out; a Stop then drops its line
// and ends the run.
void TestConversionRun::spelledOutLongNumberYieldsAndStops()
{
    FakeWindow host;
    host.setNumbers({QString(200000, u'7'), u"2"_s});
    host.setSpelledOut();
    ConversionRun run(storeOf({}));
    host.onYield = [&] {
        if (host.yields == 2)
            run.startOrStop(host);
    };
    run.startOrStop(host);
    QVERIFY(host.yields >= 2);
    QCOMPARE(host.resultTexts(), QStringList());
    QCOMPARE(run.state(), ConversionRun::State::Idle);
    QVERIFY(host.reports().isEmpty());
}

void TestConversionRun::itemsRemovedDuringARun_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("mnemonic");
    QTest::newRow("mnemonic, fast") << int(Mode::Fast) << true;
    QTest::newRow("mnemonic, reference") << int(Mode::Reference) << true;
    QTest::newRow("spelled out") << int(Mode::Fast) << false;
}

// The run fixed the item count when it started: reading an item that has
// gone is reported, the run goes on with the next statement.
void TestConversionRun::itemsRemovedDuringARun()
{
    QFETCH(int, mode);
    QFETCH(bool, mnemonic);
    FakeWindow host;
    host.setNumbers({u"434-3453"_s, u"2"_s, u"3"_s});
    if (mnemonic)
        host.setMnemonic(false, true);
    else
        host.setSpelledOut();
    host.onYield = [&] {
        host.numbers.clear();
    };
    runOnce(host, workedExampleStore(), Mode(mode));
    QCOMPARE(host.caption, u"Start Converting"_s);
    if (mnemonic) {
        // Item 1 was read before the first yield. Items 2 and 3 fail at 116,
        // so the text read before stays and is converted again, and the
        // progress value divides by the emptied list's count (118).
        QCOMPARE(host.resultTexts(), QStringList(3, u"IF-I-FILE"_s));
        QCOMPARE(host.reports(),
                 (QStringList{runReport(u"Index out of bounds"_s, 116),
                              runReport(u"Division by zero"_s, 118),
                              runReport(u"Index out of bounds"_s, 116),
                              runReport(u"Division by zero"_s, 118)}));
    } else {
        // 224 fails, so the number of the last read stays in use.
        QCOMPARE(host.resultTexts(), (QStringList{QString(), QString(), QString()}));
        QCOMPARE(host.reports().count(runReport(u"Index out of bounds"_s, 224)), 3);
    }
}

void TestConversionRun::originalNumberVanishedDuringARun()
{
    const auto store = workedExampleStore();
    for (int mode : {int(Mode::Fast), int(Mode::Reference)}) {
        FakeWindow host;
        host.setNumbers({u"434-3453"_s});
        host.setMnemonic(true, false);
        host.options.appendOriginalNumber = 1;
        host.onYield = [&] {
            host.numbers.clear();
        };
        runOnce(host, store, Mode(mode));
        // Each kept line fails at 174 and goes to the list without the number.
        QCOMPARE(host.resultTexts().size(), 11);
        QCOMPARE(host.resultTexts().front(), u"4-3-I-FILE"_s);
        QCOMPARE(host.reports().count(runReport(u"Index out of bounds"_s, 174)), 11);
    }
}

void TestConversionRun::optionsChangedDuringARun()
{
    // Statement 170 reads the options for every line: switching to "neither"
    // during the run keeps no further line.
    const auto store = workedExampleStore();
    for (int mode : {int(Mode::Fast), int(Mode::Reference)}) {
        FakeWindow host;
        host.setNumbers({u"434-3453"_s});
        host.setMnemonic(true, false);
        host.onYield = [&] {
            if (host.resultTexts().size() == 2)
                host.options.keepMixedLines = false;
        };
        runOnce(host, store, Mode(mode));
        QCOMPARE(host.resultTexts(), (QStringList{u"4-3-I-FILE"_s, u"43-I-FILE"_s}));
    }
}

QTEST_GUILESS_MAIN(TestConversionRun)
#include "tst_conversionrun.moc"
