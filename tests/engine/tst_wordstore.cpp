// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "engine/WordStore.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

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
    void unusualWordsAreStoredAsTheyAre();
    void prefixTreeWalksUnitByUnit();
    void longestBelowCountsFromTheNode();
    void manyWordsAgreeWithASet();
    void bulkAddingEqualsAddingOneByOne_data();
    void bulkAddingEqualsAddingOneByOne();
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
    QCOMPARE(store.size(), 1);
    QVERIFY(store.contains(u"cat"));
}

void TestWordStore::unusualWordsAreStoredAsTheyAre()
{
    WordStore store;
    const QStringList words = {u"Cat"_s,
                               u"a b"_s,
                               u"r2d2"_s,
                               u"\u00e9t\u00e9"_s,
                               u"\U0001F600x"_s,
                               QString(QChar(char16_t(0xd83d))),
                               u""_s};
    for (const QString &word : words)
        store.add(word);
    for (const QString &word : words)
        QVERIFY2(store.contains(word), qPrintable(word));
    QVERIFY(!store.contains(u"cat"));
    QVERIFY(!store.contains(u"\U0001F600"));
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
}

void TestWordStore::bulkAddingEqualsAddingOneByOne_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::newRow("sorted, as word lists are") << true;
    QTest::newRow("in no order") << false;
}

// The same words, levels and longest words below every node, and a repeat
// passed over instead of failing.
void TestWordStore::bulkAddingEqualsAddingOneByOne()
{
    QFETCH(bool, sorted);
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
    WordStore single;
    WordStore bulk;
    WordStore::BulkAdder adder(bulk);
    for (qsizetype i = 0; i < words.size(); ++i) {
        const bool present = single.contains(words[i]);
        if (!present)
            single.add(words[i], int(i));
        QCOMPARE(adder.add(words[i], int(i)), !present);
    }
    QCOMPARE(bulk.size(), single.size());
    QCOMPARE(bulk.words(), single.words());
    for (const QString &word : std::as_const(words)) {
        QCOMPARE(bulk.commonness(word), single.commonness(word));
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

QTEST_GUILESS_MAIN(TestWordStore)
#include "tst_wordstore.moc"
