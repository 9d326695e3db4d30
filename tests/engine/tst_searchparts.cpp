// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/CutLister.h"
#include "engine/DictionaryKeypad.h"
#include "engine/PrefixCutCache.h"
#include "engine/ReadingWalk.h"
#include "engine/WordCuts.h"
#include "engine/WordStore.h"
#include "tests/engine/EngineTestSupport.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using enginetest::storeOf;

namespace {

const auto Always = [] {
    return true;
};

// The walk started on `number` (no characters dropped) with the keypad of `store`.
void startWalk(engine::ReadingWalk &walk,
               const engine::WordStore &store,
               const QString &number,
               bool mixed,
               bool wordsOnly)
{
    const engine::DictionaryKeypad keypad(store);
    QStringList choices;
    for (const QChar c : number)
        choices.append(keypad.choicesOf(c));
    walk.start(choices, mixed, wordsOnly);
}

// The result lines of a reading as the reference search makes them.
QStringList referenceLines(const engine::WordStore &store, const QString &reading)
{
    QStringList cuts;
    engine::wordcuts::cutIntoWords(store, reading, QString(), cuts);
    for (QString &cut : cuts)
        cut = cut.trimmed().replace(u' ', u'-');
    return cuts;
}

} // namespace

// The parts of the fast search on their own: the walk over the readings, the
// cuts of one reading, the cuts that the readings of a prefix share.
class TestSearchParts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walkYieldsTheReadingsWithLines_data();
    void walkYieldsTheReadingsWithLines();
    void cutListerCutsAsTheReference_data();
    void cutListerCutsAsTheReference();
    void prefixCutsEqualTheReadingsOwn_data();
    void prefixCutsEqualTheReadingsOwn();
};

void TestSearchParts::walkYieldsTheReadingsWithLines_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("mixed");
    QTest::addColumn<QStringList>("readings"); // "#" after one with a digit
    QTest::addColumn<qint64>("steps");
    QTest::newRow("five letters out of reach: none, every step counted")
        << QStringList{u"ad"_s, u"be"_s} << u"23"_s << true << QStringList{} << qint64(20);
    QTest::newRow("only the reading that cuts") << QStringList{u"abcde"_s} << u"22233"_s << false
                                                << QStringList{u"ABCDE"_s} << qint64(1364);
    QTest::newRow("words only: a digit that must stay ends the walk")
        << QStringList{u"abcde"_s} << u"222330"_s << false << QStringList{} << qint64(2388);
    QTest::newRow("words and numbers keep it") << QStringList{u"abcde"_s} << u"222330"_s << true
                                               << QStringList{u"ABCDE0#"_s} << qint64(2388);
    QTest::newRow("letters of the dictionary beyond A-Z")
        << QStringList{u"m\u00fcller"_s} << u"685537"_s << false << QStringList{u"M\u00dcLLER"_s}
        << qint64(4 + 20 + 80 + 320 + 1280 + 6400);
    QTest::newRow("the final sigma reads as \u03a3")
        << QStringList{u"\u03bb\u03cc\u03b3\u03bf\u03c2"_s} << u"56267"_s << false
        << QStringList{u"\u039b\u038c\u0393\u039f\u03a3"_s} << qint64(5 + 30 + 150 + 900 + 5400);
}

void TestSearchParts::walkYieldsTheReadingsWithLines()
{
    QFETCH(QStringList, words);
    QFETCH(QString, number);
    QFETCH(bool, mixed);
    QFETCH(QStringList, readings);
    QFETCH(qint64, steps);
    const engine::WordStore store = storeOf(words);
    engine::ReadingWalk walk(store);
    startWalk(walk, store, number, mixed, !mixed);
    QStringList found;
    qint64 count = 0;
    while (walk.next(count, Always))
        found.append(walk.reading() + (walk.hasDigit() ? u"#"_s : QString()));
    QCOMPARE(found, readings);
    QCOMPARE(count, steps);
    QVERIFY(!walk.atReading());
}

void TestSearchParts::cutListerCutsAsTheReference_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("lines");
    const QStringList english = {u"i"_s, u"if"_s, u"fi"_s, u"file"_s, u"le"_s, u"ifi"_s};
    QTest::newRow("worked example")
        << QStringList{u"i"_s, u"if"_s, u"file"_s} << u"4343453"_s << 11;
    QTest::newRow("typed letters, many cuts") << english << u"IFIFILE"_s << 8;
    QTest::newRow("blanks inside and at the ends") << english << u" 4 IFIFILE 4 "_s << 8;
    QTest::newRow("numbers with an exponent") << english << u"4D4FILE"_s << 2;
    QTest::newRow("a number at the edge of the double range") << english << u"1E308IFILE"_s << 16;
    QTest::newRow("Greek") << QStringList{u"\u03bb\u03cc\u03b3\u03bf\u03c2"_s,
                                          u"\u03bb\u03cc"_s,
                                          u"\u03b3\u03bf\u03c2"_s}
                           << u"56267"_s << 2;
}

void TestSearchParts::cutListerCutsAsTheReference()
{
    QFETCH(QStringList, words);
    QFETCH(QString, number);
    QFETCH(int, lines);
    const engine::WordStore store = storeOf(words);
    engine::ReadingWalk walk(store);
    startWalk(walk, store, number, true, false);
    engine::CutLister lister;
    lister.reset(walk.size());
    int total = 0;
    qint64 count = 0;
    while (walk.next(count, Always)) {
        lister.prepare(walk);
        QStringList found;
        QString line;
        while (lister.next(line))
            found.append(line);
        QCOMPARE(found, referenceLines(store, walk.reading()));
        total += int(found.size());
    }
    QCOMPARE(total, lines);
}

void TestSearchParts::prefixCutsEqualTheReadingsOwn_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("shared"); // every reading's cuts, else none
    const QStringList words = {u"a"_s, u"b"_s, u"c"_s, u"ab"_s, u"ba"_s, u"abc"_s, u"cab"_s};
    QTest::newRow("few cuts: shared") << words << u"2222222"_s << 4096 << true;
    QTest::newRow("more cuts than the limit: cut one by one")
        << words << u"2222222"_s << 0 << false;
    QTest::newRow("blanks: shared") << words << u"2222 2222"_s << 4096 << true;
    QTest::newRow("letters beyond A-Z: shared")
        << QStringList{u"\u00e0"_s, u"\u00e7a"_s, u"ab\u00e7"_s, u"b\u00e0"_s} << u"222222"_s
        << 4096 << true;
}

void TestSearchParts::prefixCutsEqualTheReadingsOwn()
{
    QFETCH(QStringList, words);
    QFETCH(QString, number);
    QFETCH(int, limit);
    QFETCH(bool, shared);
    const engine::WordStore store = storeOf(words);
    engine::ReadingWalk walk(store);
    startWalk(walk, store, number, true, false);
    engine::PrefixCutCache cache;
    cache.setLimit(std::size_t(limit));
    cache.reset(walk.size());
    engine::CutLister lister;
    lister.reset(walk.size());
    int readings = 0;
    int served = 0;
    qint64 count = 0;
    while (walk.next(count, Always)) {
        ++readings;
        if (!cache.prepare(walk))
            continue;
        ++served;
        lister.prepare(walk);
        QStringList fromPrefix;
        QStringList fromReading;
        QString line;
        while (cache.next(line))
            fromPrefix.append(line);
        while (lister.next(line))
            fromReading.append(line);
        QCOMPARE(fromPrefix, fromReading);
    }
    QVERIFY(readings > 10);
    QCOMPARE(served, shared ? readings : 0);
}

QTEST_GUILESS_MAIN(TestSearchParts)
#include "tst_searchparts.moc"
