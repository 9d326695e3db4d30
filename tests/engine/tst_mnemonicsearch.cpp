// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "engine/ConversionRun.h"
#include "engine/WordCuts.h"
#include "engine/WordStore.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FakeWindow.h"

#include <QRandomGenerator>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;
using engine::ConversionRun;
using Mode = engine::ConversionRun::SearchMode;
using enginetest::runOnce;
using enginetest::storeOf;

namespace {

const QStringList WorkedExampleMixed = {u"4-3-I-FILE"_s,
                                        u"43-I-FILE"_s,
                                        u"4D4-FILE"_s,
                                        u"4E4-FILE"_s,
                                        u"I-3-4-FILE"_s,
                                        u"I-34-FILE"_s,
                                        u"I-3-I-FILE"_s,
                                        u"IF-4-FILE"_s,
                                        u"IF-IF-I-5-3"_s,
                                        u"IF-IF-I-53"_s,
                                        u"IF-I-FILE"_s};

// Lone surrogates cannot be written as literals.
const QChar LoneHigh(char16_t(0xd801));
const QChar LoneLow(char16_t(0xdc00));

QString caption(qint64 count)
{
    return u"Generating words.. please wait.. "_s + QString::number(count);
}

} // namespace

class TestMnemonicSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitIntoWordsCutsInOrder_data();
    void splitIntoWordsCutsInOrder();
    void splitIntoWordsOverflowsBeyond32767();
    void countLetterCountsLetters_data();
    void countLetterCountsLetters();
    void countLetterOverflowIsReported();
    void recurseExtractWordsEnumeratesInOrder();
    void workedExampleMixed_data();
    void workedExampleMixed();
    void workedExampleWordsOnly_data();
    void workedExampleWordsOnly();
    void workedExampleCountsEverySkippedStep();
    void neitherOptionStillCounts_data();
    void neitherOptionStillCounts();
    void lowerCasingAssumptionsHold();
    void unusualCharactersMatchTheReference_data();
    void unusualCharactersMatchTheReference();
    void overlongNumberIsReportedOnce_data();
    void overlongNumberIsReportedOnce();
    void longNumbersStayBounded();
    void walkBeyondItsMemoryIsReported_data();
    void walkBeyondItsMemoryIsReported();
    void stopEndsAnEndlessNumber();
    void stopDuringTheEnumeration();
    void countSaturatesInsteadOfOverflowing();
    void referenceHandlesLongSingleReadings();
};

void TestMnemonicSearch::splitIntoWordsCutsInOrder_data()
{
    QTest::addColumn<QString>("combination");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("one cut") << u"IFIFILE"_s << QStringList{u" IF I FILE"_s};
    QTest::newRow("shorter first piece first")
        << u"43IFILE"_s << QStringList{u" 4 3 I FILE"_s, u" 43 I FILE"_s};
    QTest::newRow("no cut") << u"IFX"_s << QStringList{};
    QTest::newRow("exponent pieces") << u"4D4"_s << QStringList{u" 4 D4"_s, u" 4D4"_s};
    QTest::newRow("empty") << QString() << QStringList{QString()};
}

void TestMnemonicSearch::splitIntoWordsCutsInOrder()
{
    QFETCH(QString, combination);
    QFETCH(QStringList, entries);
    const auto store = storeOf({u"i"_s, u"if"_s, u"file"_s, u"d4"_s});
    QStringList found;
    engine::wordcuts::cutIntoWords(store, combination, QString(), found);
    QCOMPARE(found, entries);
}

void TestMnemonicSearch::splitIntoWordsOverflowsBeyond32767()
{
    const auto store = storeOf({u"a"_s});
    QStringList found;
    try {
        engine::wordcuts::cutIntoWords(store, QString(32768, u'A'), QString(), found);
        QFAIL("no failure");
    } catch (const core::Failure &failure) {
        QCOMPARE(failure.description(), u"Overflow"_s);
    }
    QVERIFY(found.isEmpty());
}

void TestMnemonicSearch::countLetterCountsLetters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("letters");
    QTest::newRow("all letters") << u"IFIFILE"_s << 7;
    QTest::newRow("digits first") << u"43IFILE"_s << 5;
    QTest::newRow("digits only") << u"4343453"_s << 0;
    QTest::newRow("lower case") << u"abcXYZ"_s << 6;
    QTest::newRow("letters of other scripts") << u"\u00e9\u0436\u03b1\u05d0"_s << 4;
    QTest::newRow("marks and letters beyond 16 bits do not count") << u"e\u0301\U00010400"_s << 1;
    QTest::newRow("signs do not count") << u"-+. @[`{"_s << 0;
    QTest::newRow("exactly 32767") << QString(32767, u'a') << 32767;
}

void TestMnemonicSearch::countLetterCountsLetters()
{
    QFETCH(QString, text);
    QFETCH(int, letters);
    FakeWindow host;
    QCOMPARE(ConversionRun::countLetters(host, text), letters);
    QVERIFY(host.reports().isEmpty());
}

void TestMnemonicSearch::countLetterOverflowIsReported()
{
    FakeWindow host;
    QCOMPARE(ConversionRun::countLetters(host, QString(32768, u'a')), 0);
    QCOMPARE(host.reports(),
             QStringList{core::ErrorReport::text(u"Overflow"_s, u"Form1.CountLetter"_s, 110)});
}

void TestMnemonicSearch::recurseExtractWordsEnumeratesInOrder()
{
    FakeWindow host;
    const auto store = storeOf({});
    ConversionRun run(store);
    run.enumerateReadings(host, {u"4GHI"_s, u"3DEF"_s}, {1, 1}, 0);
    QCOMPARE(run.readings(),
             (QStringList{u"43"_s,
                          u"4D"_s,
                          u"4E"_s,
                          u"4F"_s,
                          u"G3"_s,
                          u"GD"_s,
                          u"GE"_s,
                          u"GF"_s,
                          u"H3"_s,
                          u"HD"_s,
                          u"HE"_s,
                          u"HF"_s,
                          u"I3"_s,
                          u"ID"_s,
                          u"IE"_s,
                          u"IF"_s}));
    QCOMPARE(run.generatedCount(), 20);
    QCOMPARE(host.yields, 20);
    QCOMPARE(host.progressTexts.size(), 20);
    QCOMPARE(host.progressTexts.front(), caption(1));
    QCOMPARE(host.progressTexts.back(), caption(20));
    QVERIFY(run.currentReading().isEmpty());
    QVERIFY(host.reports().isEmpty());
}

void TestMnemonicSearch::workedExampleMixed_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fast") << int(Mode::Fast);
    QTest::newRow("reference") << int(Mode::Reference);
}

void TestMnemonicSearch::workedExampleMixed()
{
    QFETCH(int, mode);
    const auto store = storeOf({u"i"_s, u"if"_s, u"file"_s});
    FakeWindow host;
    host.setNumbers({u"434-3453"_s});
    host.setMnemonic(true, false);
    qint64 count = 0;
    runOnce(host, store, Mode(mode), &count);
    QCOMPARE(host.resultTexts(), WorkedExampleMixed);
    QCOMPARE(count, 21844);
    QVERIFY(host.reports().isEmpty());
}

void TestMnemonicSearch::workedExampleWordsOnly_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("check1");
    QTest::addColumn<QString>("line");
    QTest::newRow("fast") << int(Mode::Fast) << 0 << u"IF-I-FILE"_s;
    QTest::newRow("reference") << int(Mode::Reference) << 0 << u"IF-I-FILE"_s;
    QTest::newRow("fast, original number") << int(Mode::Fast) << 1 << u"IF-I-FILE   -   434-3453"_s;
    QTest::newRow("reference, original number")
        << int(Mode::Reference) << 1 << u"IF-I-FILE   -   434-3453"_s;
}

void TestMnemonicSearch::workedExampleWordsOnly()
{
    QFETCH(int, mode);
    QFETCH(int, check1);
    QFETCH(QString, line);
    const auto store = storeOf({u"i"_s, u"if"_s, u"file"_s});
    FakeWindow host;
    host.setNumbers({u"434-3453"_s});
    host.setMnemonic(false, true);
    host.options.appendOriginalNumber = check1;
    runOnce(host, store, Mode(mode));
    QCOMPARE(host.resultTexts(), QStringList{line});
}

// The fast search skips nearly every reading but counts its steps: the same
// total, shown in the caption before the run's ending resets it.
void TestMnemonicSearch::workedExampleCountsEverySkippedStep()
{
    const auto store = storeOf({u"i"_s, u"if"_s, u"file"_s});
    for (bool mixed : {true, false}) {
        FakeWindow host;
        host.setNumbers({u"434-3453"_s});
        host.setMnemonic(mixed, !mixed);
        qint64 count = 0;
        runOnce(host, store, Mode::Fast, &count);
        QCOMPARE(count, 21844);
        QCOMPARE(host.progressTexts.size() >= 2, true);
        QCOMPARE(host.progressTexts.at(host.progressTexts.size() - 2), caption(21844));
        QCOMPARE(host.progressTexts.back(), u"Progress Bar"_s);
        // Counts only grow.
        qint64 previous = 0;
        for (const QString &text : std::as_const(host.progressTexts)) {
            if (!text.startsWith(u"Generating"))
                continue;
            const qint64 shown = text.section(u' ', -1).toLongLong();
            QVERIFY(shown >= previous);
            previous = shown;
        }
    }
}

void TestMnemonicSearch::neitherOptionStillCounts_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("fast") << int(Mode::Fast);
    QTest::newRow("reference") << int(Mode::Reference);
}

void TestMnemonicSearch::neitherOptionStillCounts()
{
    QFETCH(int, mode);
    const auto store = storeOf({u"i"_s, u"if"_s, u"file"_s});
    FakeWindow host;
    host.setNumbers({u"434-3453"_s, u"77"_s});
    host.setMnemonic(false, false);
    qint64 count = 0;
    runOnce(host, store, Mode(mode), &count);
    QVERIFY(host.resultTexts().isEmpty());
    QCOMPARE(count, 21844 + 30);
}

// The fast search maps the lower case of "simple" characters on its own; these
// are the properties of QString::toLower it relies on.
void TestMnemonicSearch::lowerCasingAssumptionsHold()
{
    // No character becomes shorter when lower-cased; a BMP character whose
    // lower case is not one unit yields a non-ASCII unit (so no number).
    for (char32_t cp = 0; cp <= 0x10ffff; ++cp) {
        if (cp >= 0xd800 && cp <= 0xdfff)
            continue;
        // (QString::fromUcs4 would drop U+FEFF as a byte-order mark.)
        const QString text =
            QChar::requiresSurrogates(cp)
                ? QString(QChar(QChar::highSurrogate(cp))) + QChar(QChar::lowSurrogate(cp))
                : QString(QChar(char16_t(cp)));
        const QString lower = text.toLower();
        QVERIFY2(lower.size() >= text.size(), qPrintable(QString::number(cp, 16)));
        if (cp < 0x10000 && lower.size() != 1) {
            QVERIFY(std::any_of(lower.cbegin(), lower.cend(), [](QChar c) {
                return c.unicode() >= 0x80;
            }));
        }
    }
    // Strings of simple BMP characters lower-case character by character.
    QRandomGenerator random(99);
    for (int round = 0; round < 20000; ++round) {
        QString text;
        QString expected;
        const int length = random.bounded(1, 12);
        while (text.size() < length) {
            const QChar c(char16_t(random.bounded(random.bounded(2) ? 0x250 : 0xd800)));
            const QString lower = QString(c).toLower();
            if (lower.size() != 1 || lower.front().isSurrogate())
                continue;
            text += c;
            expected += lower;
        }
        QCOMPARE(text.toLower(), expected);
    }
}

void TestMnemonicSearch::unusualCharactersMatchTheReference_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("words");
    const QStringList words = {
        u"ad"_s,          u"be"_s,          u"bead"_s,          u"ok"_s,           u"i\u0307"_s,
        u"i\u0307a"_s,    u"\U00010428a"_s, u"\U00010428"_s,    QString(LoneHigh), LoneLow + u"a"_s,
        QString(LoneLow), u"\u00e9"_s,      u"\u00e9t\u00e9"_s, u"a b"_s,          u"ab3"_s,
        u"Cab"_s,         u"k"_s,           u"kab"_s,           u"\ufffd"_s,       u"\ufffda"_s,
        u"a\ufffd"_s};
    QTest::newRow("surrogate pair (Deseret capital)") << u"2\U00010400223"_s << words;
    QTest::newRow("pair at the start") << u"\U00010400223323"_s << words;
    QTest::newRow("pair at the end") << u"223323\U00010400"_s << words;
    QTest::newRow("lone high surrogate") << u"22"_s + LoneHigh + u"323"_s << words;
    QTest::newRow("lone low surrogate") << u"22"_s + LoneLow + u"323"_s << words;
    QTest::newRow("lone low surrogate first") << LoneLow + u"2233"_s << words;
    QTest::newRow("dotted capital I") << u"\u0130223323"_s << words;
    QTest::newRow("dotted capital I inside") << u"22\u01302323"_s << words;
    QTest::newRow("Kelvin sign") << u"\u212a2232"_s << words;
    QTest::newRow("accented capital") << u"\u00c9T\u00c9232"_s << words;
    QTest::newRow("inner blank") << u"22 3323"_s << words;
    QTest::newRow("typed letters") << u"2aB3c23"_s << words;
    QTest::newRow("dots and plus") << u"+2.3e3323"_s << words;
    QTest::newRow("control characters") << u"22\t33\u000123"_s << words;
    QTest::newRow("emoji") << u"2223\U0001F600\U0001F600323"_s << words;
}

void TestMnemonicSearch::unusualCharactersMatchTheReference()
{
    QFETCH(QString, number);
    QFETCH(QStringList, words);
    const auto store = storeOf(words);
    for (int options = 1; options <= 3; ++options) {
        for (int check1 : {0, 1}) {
            FakeWindow fast;
            FakeWindow reference;
            for (FakeWindow *host : {&fast, &reference}) {
                host->setNumbers({number});
                host->setMnemonic(options & 1, options & 2);
                host->options.appendOriginalNumber = check1;
                host->recordProgress = false;
            }
            qint64 fastCount = 0;
            qint64 referenceCount = 0;
            runOnce(fast, store, Mode::Fast, &fastCount);
            runOnce(reference, store, Mode::Reference, &referenceCount);
            QCOMPARE(fast.resultTexts(), reference.resultTexts());
            QCOMPARE(fastCount, referenceCount);
            QCOMPARE(fast.reports(), reference.reports());
        }
    }
}

void TestMnemonicSearch::overlongNumberIsReportedOnce_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("reported");
    // The length that counts is the normalised one, checked before any work
    // per character (a number of 10^8 characters took gigabytes before).
    const QString dressed = u"0-"_s.repeated(32767) + u" ( ) "_s;
    for (const auto &[name, mode] :
         {std::pair{"fast", Mode::Fast}, {"reference", Mode::Reference}}) {
        QTest::addRow("%s, 32,768 letters", name) << int(mode) << QString(32768, u'A') << true;
        QTest::addRow("%s, ten million letters", name)
            << int(mode) << QString(10'000'000, u'A') << true;
    }
    // The reference search recurses once per position: short numbers only.
    QTest::newRow("fast, 32,767 digits among dashes") << int(Mode::Fast) << dressed << false;
}

void TestMnemonicSearch::overlongNumberIsReportedOnce()
{
    QFETCH(int, mode);
    QFETCH(QString, number);
    QFETCH(bool, reported);
    const auto store = storeOf({u"a"_s});
    FakeWindow host;
    host.setNumbers({number, u"2222"_s});
    host.setMnemonic(true, false);
    host.recordProgress = false;
    runOnce(host, store, Mode(mode));
    QCOMPARE(host.reports(),
             reported ? QStringList{core::ErrorReport::text(
                 u"Overflow"_s, u"Form1.RecurseExtractWords"_s, 108)}
                      : QStringList());
    // The next number is converted as usual.
    QVERIFY(host.resultTexts().contains(u"A-A-A-A"_s) == false);
    QCOMPARE(host.caption, u"Start Converting"_s);
}

// Numbers of thousands of characters: one reading each (typed letters, 0 and
// 1) or none worth cutting; nothing explodes.
void TestMnemonicSearch::longNumbersStayBounded()
{
    const auto store = storeOf({u"abc"_s, u"b"_s});
    for (bool mixed : {true, false}) {
        FakeWindow host;
        host.setNumbers({QString(32767, u'0'),
                         u"ABCAB"_s + QString(20000, u'1'),
                         QString(6000, u'\u00e9') + u"2"_s,
                         QString(3000, u' ') + u"x"_s,
                         u"\U0001F600"_s.repeated(10000)});
        host.setMnemonic(mixed, !mixed);
        host.recordProgress = false;
        runOnce(host, store, Mode::Fast);
        QVERIFY(host.resultTexts().isEmpty());
        QVERIFY(host.reports().isEmpty());
        QCOMPARE(host.caption, u"Start Converting"_s);
    }

    // One reading of 32,767 typed letters, cut in exactly one way.
    FakeWindow single;
    single.setNumbers({QString(32766, u'A').replace(u"AAA"_s, u"ABC"_s) + u"B"_s});
    single.setMnemonic(false, true);
    single.recordProgress = false;
    runOnce(single, store, Mode::Fast);
    QCOMPARE(single.resultTexts().size(), 1);
    QCOMPARE(single.resultTexts().front().size(), 32766 / 3 * 4 + 1);
}

// Numbers whose pieces stay open over thousands of positions would take
// gigabytes: the walk ends at its budget with one report, the lines so far
// stay, and the next number converts as usual.
void TestMnemonicSearch::walkBeyondItsMemoryIsReported_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("mixed");
    QTest::newRow("long one-key words, words only") << QString(32767, u'2') << false;
    QTest::newRow("a run of zeros, words and numbers") << u"22222"_s + QString(32762, u'0') << true;
    QTest::newRow("random digits, words and numbers") << u"2345678923"_s.repeated(3276) << true;
}

void TestMnemonicSearch::walkBeyondItsMemoryIsReported()
{
    QFETCH(QString, number);
    QFETCH(bool, mixed);
    QStringList words;
    for (int length = 1; length <= 2000; ++length)
        words.append(QString(length, u'a'));
    const auto store = storeOf(words);
    FakeWindow host;
    host.setNumbers({number, u"aaaaa"_s});
    host.setMnemonic(mixed, !mixed);
    host.recordProgress = false;
    runOnce(host, store, Mode::Fast);
    QCOMPARE(host.reports(),
             QStringList{
                 core::ErrorReport::text(u"Out of memory"_s, u"Form1.PushButton17_Click"_s, 150)});
    // "aaaaa" cut in all its 16 ways.
    QCOMPARE(host.resultTexts().size(), 16);
    QVERIFY(host.resultTexts().contains(u"a-a-a-a-a"_s));
    QCOMPARE(host.caption, u"Start Converting"_s);
}

// A number whose readings have more cuts than anyone can wait for: a click
// during one of the run's yields stops it within a few thousand lines.
void TestMnemonicSearch::stopEndsAnEndlessNumber()
{
    const auto store = storeOf({u"a"_s, u"b"_s, u"c"_s, u"ab"_s});
    for (bool mixed : {true, false}) {
        FakeWindow host;
        host.setNumbers({QString(1000, u'2'), u"2222222"_s});
        host.setMnemonic(mixed, !mixed);
        host.recordProgress = false;
        ConversionRun run(store);
        host.onYield = [&] {
            if (host.resultTexts().size() > 2000 && !run.stopRequested())
                run.startOrStop(host);
        };
        run.startOrStop(host);
        QVERIFY(run.stopRequested());
        QVERIFY(host.resultTexts().size() > 2000);
        QVERIFY(host.resultTexts().size() <= 2000 + 4096 + 1);
        // The second number was never reached.
        QVERIFY(host.resultTexts().back().size() > 1000);
        QCOMPARE(host.caption, u"Start Converting"_s);
    }
}

// Readings that all fail at the last position (no word holds the typed Q):
// the walk finds no line for a very long time, and still takes in Stop.
void TestMnemonicSearch::stopDuringTheEnumeration()
{
    const auto store = storeOf({u"a"_s, u"b"_s, u"c"_s});
    FakeWindow host;
    host.setNumbers({QString(30, u'2') + u"Q"_s, u"2222222"_s});
    host.setMnemonic(false, true);
    host.recordProgress = false;
    ConversionRun run(store);
    host.onYield = [&] {
        if (host.yields == 50)
            run.startOrStop(host);
    };
    run.startOrStop(host);
    QVERIFY(run.stopRequested());
    QVERIFY(host.resultTexts().isEmpty());
    QVERIFY(host.yields < 60);
    QVERIFY(run.generatedCount() > 0);
    QCOMPARE(host.caption, u"Start Converting"_s);
}

// A skipped subtree is counted in one addition, so the count could pass the
// 64-bit range at once: it stops at the largest value.
void TestMnemonicSearch::countSaturatesInsteadOfOverflowing()
{
    const auto store = storeOf({u"w"_s});
    FakeWindow host;
    host.setNumbers({u"0"_s + QString(40, u'9')});
    host.setMnemonic(false, true);
    qint64 count = 0;
    runOnce(host, store, Mode::Fast, &count);
    QCOMPARE(count, std::numeric_limits<qint64>::max());
    QCOMPARE(host.progressTexts.at(host.progressTexts.size() - 2),
             caption(std::numeric_limits<qint64>::max()));
    QVERIFY(host.resultTexts().isEmpty());
}

// The reference enumeration recurses once per position: a long number of
// one-choice characters must not exhaust the stack.
void TestMnemonicSearch::referenceHandlesLongSingleReadings()
{
    const auto store = storeOf({u"ab"_s});
    FakeWindow host;
    host.setNumbers({QString(3000, u'A') + u"B"_s});
    host.setMnemonic(true, false);
    host.recordProgress = false;
    qint64 count = 0;
    runOnce(host, store, Mode::Reference, &count);
    QVERIFY(host.resultTexts().isEmpty());
    QCOMPARE(count, 3001);
    QVERIFY(host.reports().isEmpty());
}

QTEST_GUILESS_MAIN(TestMnemonicSearch)
#include "tst_mnemonicsearch.moc"
