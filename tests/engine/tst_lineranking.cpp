// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineRanking.h"
#include "tests/support/ConversionLines.h"
#include "tests/support/MdbWords.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <limits>
#include <numeric>

using namespace Qt::Literals::StringLiterals;

namespace {

// Words and their commonness levels (0: none).
engine::WordStore storeOf(const QList<std::pair<QString, int>> &words)
{
    engine::WordStore store;
    for (const auto &[word, level] : words)
        store.add(word, level);
    return store;
}

// The words of the order and explanation tables.
const engine::WordStore &tableWords()
{
    static const engine::WordStore words =
        storeOf({{u"booking"_s, 10},  {u"cooking"_s, 20}, {u"cooling"_s, 10},     {u"cook"_s, 10},
                 {u"ing"_s, 35},      {u"co"_s, 10},      {u"oking"_s, 10},       {u"ohm"_s, 10},
                 {u"obooking"_s, 10}, {u"file"_s, 0},     {u"if"_s, 0},           {u"i"_s, 0},
                 {u"he"_s, 0},        {u"eh"_s, 0},       {u"m\u00fcller"_s, 10}, {u"sleet"_s, 20},
                 {u"painter"_s, 10},  {u"hotels"_s, 10},  {u"hotel"_s, 10},       {u"go"_s, 10},
                 {u"flowers"_s, 10},  {u"bookings"_s, 10}});
    return words;
}

QStringList
bestFirst(const engine::WordStore &words, const QString &typed, const QStringList &lines)
{
    const engine::LineRanking ranking(words, typed);
    std::vector<quint32> keys;
    for (const QString &line : lines)
        keys.push_back(ranking.key(line));
    QStringList ordered;
    for (const quint32 index : engine::orderBest(keys))
        ordered.append(lines.at(index));
    return ordered;
}

} // namespace

class TestLineRanking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data();
    void order();
    void explain_data();
    void explain();
    void scoresAcrossNumbers_data();
    void scoresAcrossNumbers();
    void prefix_data();
    void prefix();
    void shippedDictionary_data();
    void shippedDictionary();
    void limitedListKeepsTheBestDistinctLines_data();
    void limitedListKeepsTheBestDistinctLines();
};

void TestLineRanking::order_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QStringList>("best");

    QTest::newRow("the typed prefix as digits before short words and a swallowed digit")
        << u"646-266-5464"_s
        << QStringList{u"OHM-BOOKING"_s,
                       u"6D6-BOOKING"_s,
                       u"64-OBOOKING"_s,
                       u"6-46-BOOKING"_s,
                       u"646-BOOKING"_s}
        << QStringList{u"646-BOOKING"_s,
                       u"6-46-BOOKING"_s,
                       u"OHM-BOOKING"_s,
                       u"64-OBOOKING"_s,
                       u"6D6-BOOKING"_s};
    QTest::newRow("fewer words, the longer word, the typed groups, then the more common word")
        << u"1-800-266-5464"_s
        << QStringList{u"1800-COOK-ING"_s,
                       u"1800-CO-OKING"_s,
                       u"1800-COOKING"_s,
                       u"1-800-BOOKING"_s,
                       u"1800-BOOKING"_s,
                       u"1-800-COOKING"_s}
        << QStringList{u"1-800-BOOKING"_s,
                       u"1-800-COOKING"_s,
                       u"1800-BOOKING"_s,
                       u"1800-COOKING"_s,
                       u"1800-CO-OKING"_s,
                       u"1800-COOK-ING"_s};
    QTest::newRow("a toll-free prefix in the groups typed")
        << u"1-800-356-9377"_s << QStringList{u"1800-FLOWERS"_s, u"1-800-FLOWERS"_s}
        << QStringList{u"1-800-FLOWERS"_s, u"1800-FLOWERS"_s};
    QTest::newRow("the prefix in the groups typed, a short word part after it")
        << u"1-415-437-5338"_s
        << QStringList{u"1415-HE-SLEET"_s, u"1-4-15-HE-SLEET"_s, u"1-415-HE-SLEET"_s}
        << QStringList{u"1-415-HE-SLEET"_s, u"1415-HE-SLEET"_s, u"1-4-15-HE-SLEET"_s};
    QTest::newRow("a prefix in parentheses is kept whole before the blank's dash")
        << u"(212) 724-6837"_s
        << QStringList{u"2-12--PAINTER"_s, u"21-2--PAINTER"_s, u"212--PAINTER"_s}
        << QStringList{u"212--PAINTER"_s, u"2-12--PAINTER"_s, u"21-2--PAINTER"_s};
    QTest::newRow("a six-letter word behind a four-digit prefix")
        << u"1300-468357"_s << QStringList{u"130-0-HOTELS"_s, u"1-300-HOTELS"_s, u"1300-HOTELS"_s}
        << QStringList{u"1300-HOTELS"_s, u"130-0-HOTELS"_s, u"1-300-HOTELS"_s};
    QTest::newRow("a six-letter word behind an area code, not a word over it")
        << u"646-468357"_s << QStringList{u"OHM-HOTELS"_s, u"6-GO-HOTELS"_s, u"646-HOTELS"_s}
        << QStringList{u"646-HOTELS"_s, u"OHM-HOTELS"_s, u"6-GO-HOTELS"_s};
    QTest::newRow("a toll-free 0800 prefix typed with a blank")
        << u"0800 468357"_s
        << QStringList{u"080-0--HOTELS"_s, u"0-800--HOTELS"_s, u"0800--HOTELS"_s}
        << QStringList{u"0800--HOTELS"_s, u"080-0--HOTELS"_s, u"0-800--HOTELS"_s};
    QTest::newRow("a country code and a city code, each group kept")
        << u"+44 20 3569377"_s
        << QStringList{u"+4-4--20--FLOWERS"_s, u"+44--2-0--FLOWERS"_s, u"+44--20--FLOWERS"_s}
        << QStringList{u"+44--20--FLOWERS"_s, u"+4-4--20--FLOWERS"_s, u"+44--2-0--FLOWERS"_s};
    QTest::newRow("a trunk code in parentheses before an eight-letter word")
        << u"(02) 2665 4647"_s
        << QStringList{u"0-2--BOOKING-7"_s, u"0-2--BOOKINGS"_s, u"02--BOOKINGS"_s}
        << QStringList{u"02--BOOKINGS"_s, u"0-2--BOOKINGS"_s, u"0-2--BOOKING-7"_s};
    QTest::newRow("digits split inside a typed group rank below the typed groups")
        << u"1-800-266-5464"_s
        << QStringList{u"1-8-00-BOOKING"_s,
                       u"18-00-BOOKING"_s,
                       u"1-800-BOOKING   -   1-800-266-5464"_s}
        << QStringList{
               u"1-800-BOOKING   -   1-800-266-5464"_s, u"18-00-BOOKING"_s, u"1-8-00-BOOKING"_s};
    QTest::newRow("without a prefix: letters, digits at the start, no letters in numbers")
        << u"434-3453"_s
        << QStringList{u"4E4-FILE"_s,
                       u"HE-4-FILE"_s,
                       u"4-EH-FILE"_s,
                       u"43-I-FILE"_s,
                       u"IF-I-FILE"_s}
        << QStringList{
               u"IF-I-FILE"_s, u"4-EH-FILE"_s, u"43-I-FILE"_s, u"HE-4-FILE"_s, u"4E4-FILE"_s};
    QTest::newRow("letters beyond A-Z are letters, also in a number with letters")
        << u"685537"_s << QStringList{u"6\u00dc-LLER"_s, u"6-8-LLER"_s, u"M\u00dcLLER"_s}
        << QStringList{u"M\u00dcLLER"_s, u"6-8-LLER"_s, u"6\u00dc-LLER"_s};
    QTest::newRow("equal keys keep the found order; a line of another number ranks last")
        << u"2665464"_s << QStringList{u"BOOKINGS"_s, u"COOLING"_s, u"BOOKING"_s}
        << QStringList{u"COOLING"_s, u"BOOKING"_s, u"BOOKINGS"_s};
}

void TestLineRanking::order()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QFETCH(QStringList, best);
    QCOMPARE(bestFirst(tableWords(), typed, found), best);
    // The score orders as the key does.
    const engine::LineRanking ranking(tableWords(), typed);
    for (qsizetype i = 0; i < best.size(); ++i) {
        const engine::LineScore score = ranking.explain(best.at(i));
        QCOMPARE(score.key, ranking.key(best.at(i)));
        if (i > 0)
            QVERIFY(score.score <= ranking.explain(best.at(i - 1)).score);
    }
}

void TestLineRanking::explain_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parts");

    QTest::newRow("the prefix kept in its typed groups")
        << u"1-800-356-9377"_s << u"1-800-FLOWERS   -   1-800-356-9377"_s
        << u"prefix_kept=1 pieces=3 word_pieces=1 letters=7 longest_word=7 commonness=0 "
           u"digit_pieces=2 digits_after_words=0 numbers_with_letters=0 split_groups=0 "
           u"typed_groups=1 prefix_lost=0"_s;
    QTest::newRow("a typed group split, another run together")
        << u"1-800-266-5464"_s << u"18-00-COOKING"_s
        << u"prefix_kept=1 pieces=3 word_pieces=1 letters=7 longest_word=7 commonness=1 "
           u"digit_pieces=2 digits_after_words=0 numbers_with_letters=0 split_groups=1 "
           u"typed_groups=0 prefix_lost=0"_s;
    QTest::newRow("words over the prefix, a number with a letter, digits after words")
        << u"333-468357"_s << u"3E3-HOTEL-7"_s
        << u"prefix_kept=0 pieces=3 word_pieces=1 letters=5 longest_word=5 commonness=0 "
           u"digit_pieces=2 digits_after_words=1 numbers_with_letters=1 split_groups=0 "
           u"typed_groups=0 prefix_lost=0"_s;
    QTest::newRow("a word takes the prefix")
        << u"646-468357"_s << u"OHM-HOTELS"_s
        << u"prefix_kept=0 pieces=2 word_pieces=2 letters=9 longest_word=6 commonness=0 "
           u"digit_pieces=0 digits_after_words=0 numbers_with_letters=0 split_groups=0 "
           u"typed_groups=0 prefix_lost=1"_s;
}

void TestLineRanking::explain()
{
    QFETCH(QString, typed);
    QFETCH(QString, line);
    QFETCH(QString, parts);
    const engine::LineScore score = engine::LineRanking(tableWords(), typed).explain(line);
    QStringList shown;
    for (const auto &[name, value] : score.parts())
        shown.append(name + u'=' + value);
    QCOMPARE(shown.join(u' '), parts);
    QVERIFY(score.score > 0);
}

// Lines of different numbers compare by their scores.
void TestLineRanking::scoresAcrossNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("otherTyped");
    QTest::addColumn<QString>("otherLine");
    QTest::addColumn<int>("order"); // -1: the first scores less, 0: the same, 1: more

    QTest::newRow("the same word behind another prefix")
        << u"1-800-356-9377"_s << u"1-800-FLOWERS"_s << u"1-888-356-9377"_s << u"1-888-FLOWERS"_s
        << 0;
    QTest::newRow("a kept prefix above words alone")
        << u"1-800-356-9377"_s << u"1-800-FLOWERS"_s << u"356-9377"_s << u"FLOWERS"_s << 1;
    QTest::newRow("the more common word") << u"1-800-266-5464"_s << u"1-800-COOKING"_s
                                          << u"1-877-266-5464"_s << u"1-877-BOOKING"_s << -1;
    QTest::newRow("a line of another number scores 0")
        << u"356-9377"_s << u"1-800-FLOWERS"_s << u"1-800-356-9377"_s << u"1-8-0-0-3-5-6-9-3-7-7"_s
        << -1;
}

void TestLineRanking::scoresAcrossNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QString, line);
    QFETCH(QString, otherTyped);
    QFETCH(QString, otherLine);
    QFETCH(int, order);
    const qint64 score = engine::LineRanking(tableWords(), typed).explain(line).score;
    const qint64 other = engine::LineRanking(tableWords(), otherTyped).explain(otherLine).score;
    QCOMPARE((score > other) - (score < other), order);
}

void TestLineRanking::prefix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("prefix");

    QTest::newRow("toll-free with country code") << u"1-800-356-9377"_s << 4;
    QTest::newRow("area code in parentheses, blanks") << u"+1 (212) 724-6837"_s << 5;
    QTest::newRow("a longer word part stays whole") << u"1-800-628-87377"_s << 4;
    QTest::newRow("glued prefix: the last seven are the word part") << u"18003569377"_s << 4;
    QTest::newRow("glued to the word part") << u"1-8003569377"_s << 4;
    QTest::newRow("a local number has no prefix") << u"356-9377"_s << 0;
    QTest::newRow("dots separate groups and take a position") << u"800.356.9377"_s << 4;
    QTest::newRow("a six-digit word part") << u"1300 468 357"_s << 4;
    QTest::newRow("an area code before six digits") << u"646-468357"_s << 3;
    QTest::newRow("country and city code") << u"+44 20 7946 0958"_s << 5;
    QTest::newRow("a trunk code before eight digits") << u"(02) 9876 5432"_s << 2;
}

void TestLineRanking::prefix()
{
    QFETCH(QString, typed);
    QFETCH(int, prefix);
    QCOMPARE(engine::LineRanking(engine::WordStore(), typed).prefixLength(), prefix);
}

void TestLineRanking::shippedDictionary_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("best");

    QTest::newRow("toll-free") << u"1-800-356-9377"_s << u"1-800-FLOWERS"_s;
    QTest::newRow("area code") << u"646-266-5464"_s << u"646-BOOKING"_s;
    QTest::newRow("parentheses") << u"(800) 724-6837"_s << u"800--PAINTER"_s;
    QTest::newRow("the more common word") << u"+1-800-266-2378"_s << u"+1-800-CONCEPT"_s;
    QTest::newRow("an Australian prefix") << u"1300-468357"_s << u"1300-HOTELS"_s;
    QTest::newRow("an area code before six letters") << u"646-468357"_s << u"646-HOTELS"_s;
}

void TestLineRanking::shippedDictionary()
{
    QFETCH(QString, typed);
    QFETCH(QString, best);
    const engine::WordStore &words = testsupport::shippedWords();
    const QStringList lines =
        testsupport::convertedLines(words, {typed}, testsupport::optionsOf(u"mixed"_s));
    QCOMPARE(bestFirst(words, typed, lines).value(0), best);
    // Ranked one after another, lines share their first pieces' count with
    // the line before: each key is still that of the line alone.
    const engine::LineRanking ranking(words, typed);
    for (const QString &line : lines)
        QCOMPARE(ranking.key(line), ranking.explain(line).key);
}

void TestLineRanking::limitedListKeepsTheBestDistinctLines_data()
{
    QTest::addColumn<qsizetype>("limit");
    QTest::newRow("the five best") << qsizetype(5);
    QTest::newRow("a limit no count reaches") << std::numeric_limits<qsizetype>::max();
}

// Random lines through a limited list, which compacts itself on the way: the
// same lines as a stable sort of all keys, repeats left out. After the first
// compaction come lines with more digits, which rank lower, so the best lines
// must have survived it.
void TestLineRanking::limitedListKeepsTheBestDistinctLines()
{
    QFETCH(qsizetype, limit);
    const engine::WordStore words = storeOf({{u"ab"_s, 10}, {u"cab"_s, 20}, {u"abc"_s, 35}});
    const QString typed = u"222-2222222"_s;
    const QStringList pieces = {u"CAB"_s, u"ABC"_s, u"AB"_s, u"2"_s, u"22"_s, u"222"_s};
    QRandomGenerator random(11);
    engine::RankedLines limited(words, typed, limit);
    QStringList all;
    while (all.size() < 200000) {
        QStringList line;
        qsizetype length = 0;
        const int choices = all.size() < 70000 ? int(pieces.size()) : 4;
        while (length < 10) {
            const QString &piece =
                pieces.at(random.bounded(choices) + int(pieces.size()) - choices);
            line.append(piece.left(10 - length));
            length += line.last().size();
        }
        all.append(line.join(u'-'));
        limited.add(all.last());
    }
    const engine::LineRanking ranking(words, typed);
    std::vector<quint32> keys;
    for (const QString &line : std::as_const(all))
        keys.push_back(ranking.key(line));
    std::vector<qsizetype> order(all.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return keys[a] < keys[b];
    });
    QStringList expected;
    QSet<QString> seen;
    for (const qsizetype index : order) {
        if (expected.size() == limit)
            break;
        if (!seen.contains(all.at(index)))
            expected.append(all.at(index));
        seen.insert(all.at(index));
    }
    QCOMPARE(limited.added(), all.size());
    QCOMPARE(limited.best(), expected);
}

QTEST_GUILESS_MAIN(TestLineRanking)
#include "tst_lineranking.moc"
