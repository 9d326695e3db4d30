// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/BestLineSearch.h"
#include "engine/DictionaryKeypad.h"
#include "engine/LineRanking.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ConversionLines.h"
#include "tests/support/MdbWords.h"

#include <QTest>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

#ifdef DIGITOME_SANITIZER_BUILD
constexpr int DefaultCases = 800;
#else
constexpr int DefaultCases = 4000;
#endif

int caseCount()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("DIGITOME_DIFFERENTIAL_CASES", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : DefaultCases;
}

// A number typed with a prefix: digits (now and then 0 or 1) in groups
// joined as people type them, kept to at most `maxReadings` readings.
QString
prefixedNumber(QRandomGenerator &random, const engine::DictionaryKeypad &keypad, qint64 maxReadings)
{
    static const QString joins[] = {u"-"_s, u" "_s, QString(), u") "_s, u"-"_s, u"--"_s, u"."_s};
    for (;;) {
        QString number = random.bounded(4) == 0   ? u"+"_s
                         : random.bounded(4) == 0 ? u"("_s
                                                  : QString();
        const int digits = random.bounded(7, 12);
        qint64 readings = 1;
        for (int i = 0; i < digits; ++i) {
            if (i > 0 && random.bounded(3) == 0)
                number += joins[random.bounded(random.bounded(8) == 0 ? 7 : 6)];
            const QChar digit(char16_t(random.bounded(8) == 0 ? u'0' + random.bounded(2)
                                                              : u'2' + random.bounded(8)));
            number += digit;
            readings *= keypad.choicesOf(digit).size();
        }
        if (readings <= maxReadings)
            return number;
    }
}

// The lines of a number best first as the conversion run and a ranking of
// all of them give them.
QStringList everyLineRanked(const engine::WordStore &words,
                            const QString &typed,
                            const QString &mode,
                            qsizetype limit)
{
    engine::RankedLines ranked(words, typed, limit);
    for (const QString &line :
         testsupport::convertedLines(words, {typed}, testsupport::optionsOf(mode)))
        ranked.add(line);
    return ranked.best();
}

// The search's lines, or a message when they differ from ranking every line.
// Counts the numbers that have lines in `withLines`.
QString difference(int &withLines,
                   engine::BestLineSearch &search,
                   const engine::WordStore &words,
                   const engine::DictionaryKeypad &keypad,
                   const QString &typed,
                   const QString &mode,
                   qsizetype limit)
{
    const auto outcome = search.find(keypad, typed, mode == u"mixed", mode == u"words", limit, [] {
        return true;
    });
    const QStringList expected = everyLineRanked(words, typed, mode, limit);
    withLines += expected.isEmpty() ? 0 : 1;
    if (outcome == engine::BestLineSearch::Outcome::Done && search.lines() == expected)
        return {};
    return u"number \"%1\", %2, best %3: outcome %4, lines\n  %5\nagainst\n  %6"_s.arg(typed, mode)
        .arg(limit)
        .arg(int(outcome))
        .arg(search.lines().join(u' '), expected.join(u' '));
}

} // namespace

// The best-N search against ranking every line of the conversion run: the
// same lines in the same order, ties and the last place included.
class TestBestLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomDictionaries();
    void shippedDictionary();
    void stopsAndDeclines_data();
    void stopsAndDeclines();

private:
    int m_cases = caseCount();
};

void TestBestLines::randomDictionaries()
{
    QRandomGenerator random(1800356);
    static const qsizetype limits[] = {1, 1, 2, 3, 5, 40};
    engine::WordStore words;
    engine::DictionaryKeypad keypad;
    std::optional<engine::BestLineSearch> search;
    int withLines = 0;
    for (int i = 0; i < m_cases; ++i) {
        if (i % 20 == 0) {
            words = enginetest::randomDictionary(random, true);
            keypad = engine::DictionaryKeypad(words);
            search.emplace(words);
        }
        const QString typed = random.bounded(3) == 0
                                  ? enginetest::randomNumber(random, keypad, 3000)
                                  : prefixedNumber(random, keypad, qint64(1) << 22);
        const QString mode = random.bounded(4) == 0 ? u"words"_s : u"mixed"_s;
        const QString failure =
            difference(withLines, *search, words, keypad, typed, mode, limits[random.bounded(6)]);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
    // Many numbers have no line at all (too few letters possible).
    QVERIFY2(withLines > m_cases / 4, qPrintable(QString::number(withLines)));
}

void TestBestLines::shippedDictionary()
{
    QRandomGenerator random(2125551234);
    const engine::WordStore &words = testsupport::shippedWords();
    const engine::DictionaryKeypad keypad(words);
    engine::BestLineSearch search(words);
    int withLines = 0;
    for (int i = 0; i < m_cases / 8; ++i) {
        const QString typed = prefixedNumber(random, keypad, qint64(1) << 40);
        const QString mode = random.bounded(4) == 0 ? u"words"_s : u"mixed"_s;
        const QString failure =
            difference(withLines, search, words, keypad, typed, mode, random.bounded(1, 4));
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
    QVERIFY2(withLines > m_cases / 8 / 3, qPrintable(QString::number(withLines)));
}

void TestBestLines::stopsAndDeclines_data()
{
    QTest::addColumn<qsizetype>("limit");
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("pulses");
    using Outcome = engine::BestLineSearch::Outcome;
    // Holding that many lines takes more steps than one pulse's.
    QTest::newRow("asked to stop at the first pulse: the lines seen so far")
        << engine::BestLineSearch::MaxLimit << false << int(Outcome::Stopped) << 1;
    QTest::newRow("a limit beyond the largest is left to ranking every line")
        << engine::BestLineSearch::MaxLimit + 1 << true << int(Outcome::Declined) << 0;
}

void TestBestLines::stopsAndDeclines()
{
    QFETCH(qsizetype, limit);
    QFETCH(bool, goOn);
    QFETCH(int, outcome);
    QFETCH(int, pulses);
    const engine::WordStore words =
        enginetest::storeOf({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"bad"_s, u"cafe"_s});
    engine::BestLineSearch search(words);
    int pulsed = 0;
    const auto result = search.find(
        engine::DictionaryKeypad(words), u"2223-3323-2332-2332"_s, true, false, limit, [&] {
            ++pulsed;
            return goOn;
        });
    QCOMPARE(int(result), outcome);
    QCOMPARE(pulsed, pulses);
    QVERIFY(search.lines().size() < engine::BestLineSearch::MaxLimit);
}

QTEST_GUILESS_MAIN(TestBestLines)
#include "tst_bestlines.moc"
