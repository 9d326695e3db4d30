// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "engine/WordFeed.h"
#include "engine/WordStore.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <optional>

using namespace Qt::Literals::StringLiterals;
using engine::WordPrefixTree;
using engine::WordStore;

class TestWordStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void membershipIsExactAndCaseSensitive();
    void commonnessIsKeptPerWord();
    void aWordAlreadyPresentFails();
    void wordsAreKeptWhenAKeypadSpellsThem_data();
    void wordsAreKeptWhenAKeypadSpellsThem();
    void prefixTreeWalksUnitByUnit();
    void longestBelowCountsFromTheNode();
    void manyWordsAgreeWithASet();
    void bulkAddingEqualsAddingOneByOne_data();
    void bulkAddingEqualsAddingOneByOne();
    void feedAddsInOrderAndStopsAtARepeat_data();
    void feedAddsInOrderAndStopsAtARepeat();
    void copiesAreIndependent();
};

void TestWordStore::membershipIsExactAndCaseSensitive()
{
    WordStore store;
    store.add(u"file"_s);
    store.add(u"if"_s);
    QVERIFY(store.contains(u"file"));
    QVERIFY(!store.contains(u"File"));
    QVERIFY(!store.contains(u"fil"));
    QVERIFY(!store.contains(u"files"));
    QVERIFY(!store.contains(u""));
    QCOMPARE(store.size(), 2);
    QCOMPARE(store.words(), (QSet<QString>{u"file"_s, u"if"_s}));
}

void TestWordStore::commonnessIsKeptPerWord()
{
    WordStore store;
    store.add(u"file"_s, 20);
    store.add(u"if"_s);
    store.add(u"fi"_s, -3);
    store.add(u"fil"_s, 1 << 20);
    QCOMPARE(store.commonness(u"file"), 20);
    QCOMPARE(store.commonness(u"if"), 0);
    QCOMPARE(store.commonness(u"fi"), 0);
    QCOMPARE(store.commonness(u"fil"), WordStore::MaxCommonness);
    QCOMPARE(store.commonness(u"files"), 0);
}

void TestWordStore::aWordAlreadyPresentFails()
{
    WordStore store;
    store.add(u"cat"_s);
    try {
        store.add(u"cat"_s);
        QFAIL("no failure");
    } catch (const core::Failure &failure) {
        QCOMPARE(failure.description(),
                 u"This key is already associated with an element of this collection"_s);
    }
    QCOMPARE(store.tryAdd(u"cat"_s), WordStore::Added::AlreadyPresent);
    QCOMPARE(store.size(), 1);
    QVERIFY(store.contains(u"cat"));
}

void TestWordStore::wordsAreKeptWhenAKeypadSpellsThem_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("held");
    for (const QString &word : {u"Cat"_s,
                                u"a b"_s,
                                u"r2d2"_s,
                                u"\u00e9t\u00e9"_s,
                                u"stra\u00dfe"_s,
                                u"\u043a\u043d\u0438\u0433\u0430"_s,
                                u""_s})
        QTest::addRow("kept: \"%s\"", qPrintable(word)) << word << true << word;
    QTest::newRow("final sigma is held as sigma")
        << u"\u03bb\u03cc\u03b3\u03bf\u03c2"_s << true << u"\u03bb\u03cc\u03b3\u03bf\u03c3"_s;
    QTest::newRow("emoji") << u"\U0001F600x"_s << false << QString();
    QTest::newRow("lone surrogate") << QString(QChar(char16_t(0xd83d))) << false << QString();
    QTest::newRow("Hebrew") << u"\u05e9\u05dc\u05d5\u05dd"_s << false << QString();
    QTest::newRow("CJK") << u"\u4e2d\u6587"_s << false << QString();
    QTest::newRow("combining mark") << u"cafe\u0301"_s << false << QString();
    QTest::newRow("symbol beyond ASCII") << u"5\u20ac"_s << false << QString();
    QTest::newRow("typographic apostrophe") << u"don\u2019t"_s << false << QString();
}

void TestWordStore::wordsAreKeptWhenAKeypadSpellsThem()
{
    QFETCH(QString, word);
    QFETCH(bool, usable);
    QFETCH(QString, held);
    WordStore store;
    QCOMPARE(WordStore::isUsable(word), usable);
    QCOMPARE(store.tryAdd(word), usable ? WordStore::Added::Yes : WordStore::Added::Unusable);
    QCOMPARE(store.contains(word), usable);
    QCOMPARE(store.size(), usable ? 1 : 0);
    QCOMPARE(store.unusableCount(), usable ? 0 : 1);
    QCOMPARE(store.words(), usable ? QSet<QString>{held} : QSet<QString>());
    if (usable)
        QVERIFY(store.contains(held));
}

void TestWordStore::prefixTreeWalksUnitByUnit()
{
    WordStore store;
    store.add(u"if"_s);
    store.add(u"i"_s);
    store.add(u"file"_s);
    const WordPrefixTree &tree = store.prefixTree();
    const auto i = tree.child(WordPrefixTree::Root, u'i');
    QVERIFY(i != WordPrefixTree::NoNode);
    QVERIFY(tree.isWord(i));
    const auto f = tree.child(WordPrefixTree::Root, u'f');
    QVERIFY(!tree.isWord(f));
    const auto fi = tree.child(f, u'i');
    QVERIFY(!tree.isWord(fi));
    QCOMPARE(tree.child(fi, u'x'), WordPrefixTree::NoNode);
    QCOMPARE(tree.child(WordPrefixTree::Root, u'I'), WordPrefixTree::NoNode);
}

void TestWordStore::longestBelowCountsFromTheNode()
{
    WordStore store;
    store.add(u"a"_s);
    store.add(u"abcde"_s);
    store.add(u"ab"_s);
    const WordPrefixTree &tree = store.prefixTree();
    QCOMPARE(tree.longestBelow(WordPrefixTree::Root), 5);
    const auto a = tree.child(WordPrefixTree::Root, u'a');
    QCOMPARE(tree.longestBelow(a), 4);
    const auto e = tree.child(tree.child(tree.child(tree.child(a, u'b'), u'c'), u'd'), u'e');
    QCOMPARE(tree.longestBelow(e), 0);
    // No piece of a number is longer than 32,767 units.
    store.add(QString(40000, u'b'));
    QCOMPARE(tree.longestBelow(WordPrefixTree::Root), 32767);
    QCOMPARE(tree.longestBelow(tree.child(WordPrefixTree::Root, u'b')), 32767);
}

void TestWordStore::manyWordsAgreeWithASet()
{
    QRandomGenerator random(7);
    WordStore store;
    store.reserve(1000); // then it grows
    QSet<QString> reference;
    auto randomWord = [&] {
        QString word;
        const int length = random.bounded(1, 8);
        for (int i = 0; i < length; ++i)
            word += QChar(char16_t(u'a' + random.bounded(6)));
        return word;
    };
    for (int i = 0; i < 20000; ++i) {
        const QString word = randomWord();
        if (reference.contains(word))
            continue;
        reference.insert(word);
        store.add(word);
    }
    for (int i = 0; i < 20000; ++i) {
        const QString word = randomWord();
        QCOMPARE(store.contains(word), reference.contains(word));
    }
    QCOMPARE(store.words(), reference);

    // Added in order, as word lists come, the words make the same tree.
    QStringList ordered = reference.values();
    ordered.sort();
    WordStore sorted;
    for (const QString &word : std::as_const(ordered))
        sorted.add(word);
    QCOMPARE(sorted.words(), reference);
    const WordPrefixTree &a = store.prefixTree();
    const WordPrefixTree &b = sorted.prefixTree();
    for (const QString &word : std::as_const(ordered)) {
        for (qsizetype length = 0; length <= word.size(); ++length) {
            const QStringView prefix = QStringView(word).left(length);
            QCOMPARE(b.longestBelow(b.find(prefix)), a.longestBelow(a.find(prefix)));
        }
    }
}

void TestWordStore::bulkAddingEqualsAddingOneByOne_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<bool>("inBulk"); // the second half, after a first half added singly
    QTest::newRow("sorted, as word lists are") << true << false;
    QTest::newRow("in no order") << false << false;
    QTest::newRow("sorted, in bulk") << true << true;
    QTest::newRow("in no order, in bulk") << false << true;
}

// The same words, levels and longest words below every node, and a repeat
// passed over instead of failing.
void TestWordStore::bulkAddingEqualsAddingOneByOne()
{
    // Each word follows the path of the word before as far as both agree:
    // the same words in reverse order give the same store.
    QFETCH(bool, sorted);
    QFETCH(bool, inBulk);
    QRandomGenerator random(3);
    QStringList words;
    for (int i = 0; i < 5000; ++i) {
        QString word;
        for (int length = random.bounded(0, 9); length > 0; --length)
            word += QChar(char16_t(u'a' + random.bounded(4)));
        words.append(word);
    }
    if (sorted)
        words.sort();
    const auto levelOf = [](const QString &word) {
        return int(qHash(word) % 100);
    };
    const auto ratingOf = [](const QString &word) {
        return int(qHash(word, 1) % 3);
    };
    WordStore single;
    WordStore bulk;
    for (qsizetype i = words.size() - 1; i >= 0; --i)
        single.tryAdd(words[i], levelOf(words[i]));
    QSet<QString> seen;
    std::optional<WordStore::BulkAdding> bulkAdding;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (inBulk && i == words.size() / 2)
            bulkAdding.emplace(bulk, 1000);
        const QString &word = words[i];
        const bool fresh = !seen.contains(word);
        seen.insert(word);
        QCOMPARE(bulk.tryAdd(word, levelOf(word), ratingOf(word)) == WordStore::Added::Yes, fresh);
    }
    bulkAdding.reset();
    QCOMPARE(bulk.size(), single.size());
    QCOMPARE(bulk.prefixTree().edgeCount(), single.prefixTree().edgeCount());
    QCOMPARE(bulk.words(), single.words());
    for (const QString &word : std::as_const(words)) {
        QCOMPARE(bulk.commonness(word), single.commonness(word));
        QCOMPARE(bulk.offensive(word), ratingOf(word));
        WordPrefixTree::Node a = WordPrefixTree::Root;
        WordPrefixTree::Node b = WordPrefixTree::Root;
        for (const QChar c : word) {
            QCOMPARE(bulk.prefixTree().longestBelow(a), single.prefixTree().longestBelow(b));
            a = bulk.prefixTree().child(a, c.unicode());
            b = single.prefixTree().child(b, c.unicode());
        }
    }
}

void TestWordStore::copiesAreIndependent()
{
    WordStore store;
    store.add(u"one"_s);
    WordStore copy = store;
    copy.add(u"two"_s);
    QVERIFY(!store.contains(u"two"));
    QVERIFY(copy.contains(u"one"));
    store = WordStore();
    QVERIFY(store.isEmpty());
    QVERIFY(!store.contains(u"one"));
}

void TestWordStore::feedAddsInOrderAndStopsAtARepeat_data()
{
    QTest::addColumn<qsizetype>("workerFrom");
    QTest::addColumn<int>("repeatAt"); // where the first word comes again, -1 never
    const qsizetype atOnce = engine::WordFeed::WorkerFrom;
    QTest::newRow("at once") << atOnce << -1;
    QTest::newRow("at once, a repeat") << atOnce << 30'000;
    QTest::newRow("on a worker") << qsizetype(0) << -1;
    QTest::newRow("on a worker, a repeat in a later batch") << qsizetype(0) << 30'000;
    QTest::newRow("on a worker, a repeat in the first batch") << qsizetype(0) << 5;
}

// Words, levels and ratings arrive as given, in several batches; a repeat
// stops the feed there, the words before it kept and ready for lookups.
void TestWordStore::feedAddsInOrderAndStopsAtARepeat()
{
    QFETCH(qsizetype, workerFrom);
    QFETCH(int, repeatAt);
    QStringList words;
    for (int i = 0; i < 40'000; ++i) {
        QString word; // i + 1 in base 26, a letter a digit
        for (int n = i + 1; n > 0; n /= 26)
            word += QChar(char16_t(u'a' + n % 26));
        words.append(word);
    }
    WordStore store;
    QString failure;
    {
        engine::WordFeed feed(store, words.size(), engine::WordFeed::Repeats::Fail, workerFrom);
        try {
            for (int i = 0; i < words.size(); ++i) {
                if (!feed.add(i == repeatAt ? words[0] : words[i], i % 50, i % 3))
                    break;
            }
            feed.finish();
        } catch (const core::Failure &thrown) {
            failure = thrown.description();
        }
    }
    const int kept = repeatAt < 0 ? int(words.size()) : repeatAt;
    QCOMPARE(failure.isEmpty(), repeatAt < 0);
    QCOMPARE(store.size(), kept);
    for (const int i : {0, kept / 2, kept - 1}) {
        QVERIFY(store.contains(words[i]));
        QCOMPARE(store.commonness(words[i]), i % 50);
        QCOMPARE(store.offensive(words[i]), i % 3);
    }
    QCOMPARE(store.contains(words.constLast()), repeatAt < 0);
}

QTEST_GUILESS_MAIN(TestWordStore)
#include "tst_wordstore.moc"
