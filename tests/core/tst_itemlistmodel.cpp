// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ItemListModel.h"
#include "core/ListOrderAToZ.h"
#include "core/ListOrderSort.h"
#include "core/TextStore.h"
#include "tests/support/TestHelpers.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <numeric>
#include <optional>
#include <thread>

using namespace Qt::Literals::StringLiterals;

class TestItemListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeSortedKeepsColumnsTogether_data();
    void removeSortedKeepsColumnsTogether();
    void removeSortedRejectsBadRows_data();
    void removeSortedRejectsBadRows();
    void appendBatchTakesTheTextsOver();
    void textsComeBackAsStored_data();
    void textsComeBackAsStored();
    void orders_data();
    void orders();
    void longListsSettleInTheOrderAskedFor_data();
    void longListsSettleInTheOrderAskedFor();
    void shownLines_data();
    void shownLines();
    void manyLinesKeepTheirTextsAndMarks();
    void failedAllocationsLeaveTheListUsable_data();
    void failedAllocationsLeaveTheListUsable();
    void linesWrittenInPieces_data();
    void linesWrittenInPieces();
    void preparedOrderMerges_data();
    void preparedOrderMerges();
    void linesCompareAToZ_data();
    void linesCompareAToZ();
    void linesSortAToZ_data();
    void linesSortAToZ();
    void switchToAToZTakesTheLinesItGives();
};

void TestItemListModel::removeSortedKeepsColumnsTogether_data()
{
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("nothing") << QList<int>();
    QTest::newRow("one run in the middle") << QList<int>{3, 4, 5};
    QTest::newRow("a few runs") << QList<int>{0, 2, 3, 9};
    QList<int> every2nd;
    QList<int> all;
    for (int i = 0; i < 40; ++i) {
        if (i % 2)
            every2nd.append(i);
        all.append(i);
    }
    QTest::newRow("more runs than are removed one by one") << every2nd;
    QTest::newRow("every row") << all;
}

void TestItemListModel::removeSortedKeepsColumnsTogether()
{
    QFETCH(QList<int>, rows);

    core::ItemListModel list({u"Number"_s, u"Words"_s});
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int i = 0; i < 40; ++i)
        list.appendRow({QString::number(i), u"w"_s + QString::number(i)}, i % 4 == 0);
    list.removeSorted(rows);

    QCOMPARE(list.rows(), 40 - int(rows.size()));
    int row = 0;
    for (int i = 0; i < 40; ++i) {
        if (rows.contains(i))
            continue;
        QCOMPARE(list.text(row, 0), QString::number(i));
        QCOMPARE(list.text(row, 1), u"w"_s + QString::number(i));
        QCOMPARE(list.isChecked(row), i % 4 == 0);
        ++row;
    }
}

void TestItemListModel::removeSortedRejectsBadRows_data()
{
    QTest::addColumn<QList<int>>("rows");

    QList<int> descending;
    QList<int> pastTheEnd;
    for (int i = 0; i < 40; ++i) {
        descending.prepend(i * 2);
        pastTheEnd.append(i * 2 + (i == 39 ? 200 : 0));
    }
    QTest::newRow("descending rows") << descending;
    QTest::newRow("a row past the end") << pastTheEnd;
}

void TestItemListModel::removeSortedRejectsBadRows()
{
    QFETCH(QList<int>, rows);

    core::ItemListModel list;
    for (int i = 0; i < 100; ++i)
        list.append(QString::number(i));
    QVERIFY_THROWS_EXCEPTION(std::exception, list.removeSorted(rows));
    // The one-pass removal checks everything before it starts.
    QCOMPARE(list.rows(), 100);
}

void TestItemListModel::appendBatchTakesTheTextsOver()
{
    core::ItemListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.appendBatch(QStringList{u"a"_s, u"b"_s}, true);
    QStringList more{u"c"_s};
    list.appendBatch(std::move(more), false);
    list.appendBatch(QStringList(), true);

    QCOMPARE(testsupport::texts(list), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    QVERIFY(list.isChecked(1));
    QVERIFY(!list.isChecked(2));
}

void TestItemListModel::textsComeBackAsStored_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const auto same = [](const QString &text) {
        QTest::newRow(qPrintable(text.left(30))) << text << text;
    };
    same(QString());
    same(u"IF-I-FILE   -   434-3453"_s);
    same(u"Caf\u00e9 \U0001F600 \u20ac"_s);
    same(u"\ufeff434-3453"_s);                     // a byte-order mark first stays
    same(QString(1 << 21, u'x') + u'\u00e9');      // longer than a page of the store
    same(u"x"_s + u"\U0001F600"_s.repeated(3000)); // shown cut before a pair
    QTest::newRow("a lone surrogate becomes a replacement")
        << u"a"_s + QChar(0xD800) + u"b"_s << u"a\ufffdb"_s;
}

void TestItemListModel::textsComeBackAsStored()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    core::ItemListModel list({u"Results"_s});
    list.append(u"before"_s, true);
    list.append(text, false);
    list.append(u"after"_s, true);
    QCOMPARE(list.text(1), expected);
    QCOMPARE(testsupport::texts(list), (QStringList{u"before"_s, expected, u"after"_s}));
    // Views are shown the first characters of a long line, no half pair.
    const qsizetype shown = core::ItemListModel::ShownCharacters;
    QCOMPARE(list.data(list.index(1, 0)).toString(),
             expected.size() <= shown
                 ? expected
                 : expected.left(expected[shown - 1].isHighSurrogate() ? shown - 1 : shown)
                       + QChar(0x2026));
    QVERIFY(!list.isChecked(1));
    list.removeAt(0);
    QCOMPARE(list.text(0), expected);
    // Read through a view into a buffer that held a longer text.
    core::TextStore store;
    store.append(text, false);
    QString buffer(text.size() + 10, u'z');
    store.view(1).readText(0, buffer);
    QCOMPARE(buffer, expected);
}

// Rows shown in another order: the marks stay with their lines, removal and
// pending lines follow the order, a selected row stays selected.
void TestItemListModel::orders_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("shown");
    // Lines "b1", "A2", "c3", "a4" from group "g1", then "B5" from group "g2";
    // the rank key (smaller first) is minus half the line's digit in group
    // g1, minus the digit in group g2.
    QTest::newRow("as found") << int(core::ItemListModel::Order::AsFound)
                              << QStringList{u"b1"_s, u"A2"_s, u"c3"_s, u"a4"_s, u"B5"_s};
    QTest::newRow("best first: ties keep the found order")
        << int(core::ItemListModel::Order::BestFirst)
        << QStringList{u"B5"_s, u"a4"_s, u"A2"_s, u"c3"_s, u"b1"_s};
    QTest::newRow("a to z ignores case, ties keep the found order")
        << int(core::ItemListModel::Order::AToZ)
        << QStringList{u"A2"_s, u"a4"_s, u"b1"_s, u"B5"_s, u"c3"_s};
}

void TestItemListModel::orders()
{
    QFETCH(int, order);
    QFETCH(QStringList, shown);
    core::ItemListModel list({u"Results"_s});
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QStringList groups;
    const auto rank = [&groups](QStringView line, QStringView group) {
        groups.append(group.toString());
        const int digit = line.back().digitValue();
        return quint32(100 - (group == u"g2" ? digit : digit / 2));
    };
    list.startGroup(u"g1"_s);
    list.appendBatch({u"b1"_s, u"A2"_s, u"c3"_s}, true);
    list.setChecked(1, false);                         // "A2"
    QPersistentModelIndex selected = list.index(0, 0); // "b1"
    list.setOrder(core::ItemListModel::Order(order), rank);
    // Pending lines land in their places when shown.
    list.appendPending(u"a4"_s, true);
    list.startGroup(u"g2"_s);
    list.appendPending(u"B5"_s, true);
    QCOMPARE(list.rows(), 3);
    list.showPending();
    QCOMPARE(testsupport::texts(list), shown);
    QCOMPARE(list.text(selected.row()), u"b1"_s);
    QCOMPARE(list.isChecked(int(shown.indexOf(u"A2"_s))), false);
    QCOMPARE(list.checkedRows(), 4);
    if (order == int(core::ItemListModel::Order::BestFirst))
        QVERIFY(groups.contains(u"g1"_s) && groups.contains(u"g2"_s));

    // Removing the first two rows shown removes those lines.
    list.removeSorted({0, 1});
    QCOMPARE(testsupport::texts(list), shown.mid(2));
    list.setOrder(core::ItemListModel::Order::AsFound);
    QStringList remaining{u"b1"_s, u"A2"_s, u"c3"_s, u"a4"_s, u"B5"_s};
    remaining.removeOne(shown.at(0));
    remaining.removeOne(shown.at(1));
    QCOMPARE(testsupport::texts(list), remaining);
}

void TestItemListModel::longListsSettleInTheOrderAskedFor_data()
{
    // Steps: f, b, z ask for "As found", "Best first", "A to Z"; a appends
    // lines shown soon; p shows every line; r removes the rows holding a "7";
    // d removes the first row, e the last; k flips the first row's mark; c
    // clears; w waits for the order being built; n asks for "Best number
    // first" (a group every 1,000 lines); h hides the lines holding a "Q", or
    // shows them again; x removes the stored lines holding a "7" as a filter
    // does (only those shown go); s does the same in steps, adding lines and
    // flipping a mark at its first yield (q only adds lines); S is s with the
    // last row removed at that yield, which leaves the thinning undone; i
    // waits for the orders prepared as found; m adds lines enough to be
    // sorted "A to Z" on two threads. Every line begins with
    // `common`, its letters upper-case on every other line.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("common");
    QTest::newRow("a switch") << u"z"_s << QString();
    QTest::newRow("A to Z, lines alike in their first 30 letters")
        << u"zazw"_s << u"sharedbeginningofeverylinehere"_s;
    QTest::newRow("removing rows while new lines wait for their places")
        << u"bwaeaer"_s << QString();
    QTest::newRow("a switch interrupted by another") << u"zb"_s << QString();
    QTest::newRow("switches back and forth") << u"zbzfbz"_s << QString();
    QTest::newRow("back to the order shown before the switch ends") << u"bf"_s << QString();
    QTest::newRow("lines added while an order is built") << u"zapa"_s << QString();
    QTest::newRow("lines placed in a sorted order") << u"bwaawa"_s << QString();
    QTest::newRow("a filter while an order is built") << u"zrk"_s << QString();
    QTest::newRow("removing rows while an order is built") << u"bdwzdk"_s << QString();
    QTest::newRow("clearing while an order is built") << u"zcab"_s << QString();
    QTest::newRow("a mark set while an order is built") << u"bkzk"_s << QString();
    QTest::newRow("hiding, then a switch before the lines are chosen") << u"hzwkh"_s << QString();
    QTest::newRow("lines hidden while an order is built") << u"zhahw"_s << QString();
    QTest::newRow("removing while lines are hidden") << u"hbwaapxrkdh"_s << QString();
    QTest::newRow("best number first while lines arrive") << u"nawahap"_s << QString();
    QTest::newRow("hiding under best number first") << u"hnaawh"_s << QString();
    QTest::newRow("switches from orders prepared as lines arrived")
        << u"aiazfaibfaiz"_s << u"sharedbeginning"_s;
    QTest::newRow("a switch from prepared orders stopped, then asked again")
        << u"aiazfzaiazdfz"_s << u"sharedbeginning"_s;
    QTest::newRow("removals after orders were prepared") << u"aidzfaixbfazd"_s << QString();
    QTest::newRow("the other order prepared beside a switch, then asked for")
        << u"aibwawzwfib"_s << u"sharedbeginning"_s;
    QTest::newRow("a switch to the order prepared beside another") << u"aibwawzb"_s << QString();
    QTest::newRow("A to Z in two halves") << u"mz"_s << u"sharedbeginning"_s;
    QTest::newRow("lines arriving while an order is prepared beside") << u"aiazwabp"_s << QString();
    QTest::newRow("A to Z asked for while lines that came after are prepared")
        << u"aimazwfaimabzw"_s << u"sharedbeginning"_s;
    QTest::newRow("a filter in steps, lines arriving") << u"sa"_s << QString();
    QTest::newRow("a filter in steps while an order is built") << u"bskw"_s << QString();
    QTest::newRow("a filter in steps in a sorted order") << u"zwsp"_s << QString();
    QTest::newRow("a filter in steps in a sorted order, lines waiting") << u"zwqp"_s << QString();
    QTest::newRow("a filter in steps while lines are hidden") << u"hbwsh"_s << QString();
    QTest::newRow("a row removed during a filter in steps") << u"bwSs"_s << QString();
    QTest::newRow("a filter in steps after orders were prepared") << u"aisfaiz"_s << QString();
}

void TestItemListModel::longListsSettleInTheOrderAskedFor()
{
    QFETCH(QString, steps);
    QFETCH(QString, common);
    using Order = core::ItemListModel::Order;
    core::ItemListModel list({u"Results"_s});
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Lines "<letters>-<found position>"; their rank comes from the text.
    const auto rankOf = [](QStringView line) {
        return quint32(qHash(line) % 997);
    };
    QHash<QString, bool> expected; // text -> mark
    int added = 0;
    bool hiding = false;
    const auto isShown = [](QStringView line) {
        return !line.contains(u'Q');
    };
    const auto addLines = [&](int count) {
        for (int i = 0; i < count; ++i, ++added) {
            if (added % 1000 == 0)
                list.startGroup(QString::number(added / 1000));
            const QString text = (added % 2 ? common.toUpper() : common)
                                 + QChar(u'a' + added * 7 % 26) + QChar(u'A' + added % 23) + u'-'
                                 + QString::number(added);
            list.appendPending(text, added % 3 == 0);
            expected.insert(text, added % 3 == 0);
        }
    };
    addLines(int(core::ItemListModel::OrderAtOnceLines) + 5'000);
    list.showPending();
    list.setRank([&](QStringView line, QStringView) {
        return rankOf(line);
    });
    for (const QChar step : std::as_const(steps)) {
        switch (step.unicode()) {
        case u'f':
            list.setOrder(Order::AsFound);
            break;
        case u'b':
            list.setOrder(Order::BestFirst);
            break;
        case u'z':
            list.setOrder(Order::AToZ);
            break;
        case u'a':
        case u'm':
            addLines(step == u'a' ? 3'000 : 300'000);
            list.showPendingSoon();
            break;
        case u'p':
            list.showPending();
            break;
        case u'r': {
            QList<int> rows;
            for (int row = 0; row < list.rows(); ++row)
                if (list.text(row).contains(u'7'))
                    rows.append(row);
            for (const int row : std::as_const(rows))
                expected.remove(list.text(row));
            list.removeSorted(rows);
            break;
        }
        case u'd':
            expected.remove(list.text(0));
            list.removeAt(0);
            break;
        case u'e':
            expected.remove(list.text(list.rows() - 1));
            list.removeAt(list.rows() - 1);
            break;
        case u'k':
            expected[list.text(0)] = !list.isChecked(0);
            list.setChecked(0, !list.isChecked(0));
            break;
        case u'c':
            list.clear();
            expected.clear();
            break;
        case u'w':
            list.finishOrdering();
            break;
        case u'x': {
            std::vector<char> drop(std::size_t(list.storedLines()));
            for (qsizetype line = 0; line < list.storedLines(); ++line)
                drop[std::size_t(line)] = list.storedUtf8(line).toByteArray().contains('7');
            for (int row = 0; row < list.rows(); ++row)
                if (list.text(row).contains(u'7'))
                    expected.remove(list.text(row));
            list.removeStored(std::move(drop));
            break;
        }
        case u's':
        case u'q':
        case u'S': {
            std::vector<char> drop(std::size_t(list.storedLines()));
            for (qsizetype line = 0; line < list.storedLines(); ++line)
                drop[std::size_t(line)] = list.storedUtf8(line).toByteArray().contains('7');
            QStringList going;
            for (int row = 0; row < list.rows(); ++row)
                if (list.text(row).contains(u'7'))
                    going.append(list.text(row));
            int yields = 0;
            const bool thinned = list.removeStoredInSteps(std::move(drop), [&] {
                if (++yields > 1)
                    return;
                addLines(3'000);
                list.showPendingSoon();
                const int row = int(list.rows() - 1);
                if (step == u'S') {
                    expected.remove(list.text(row));
                    list.removeAt(row);
                    return;
                }
                for (int r = 0; step == u's' && r < list.rows(); ++r)
                    if (!list.text(r).contains(u'7')) {
                        expected[list.text(r)] = !list.isChecked(r);
                        list.setChecked(r, !list.isChecked(r));
                        break;
                    }
            });
            // The list is long: it is thinned in steps, whatever goes.
            QVERIFY(yields > 0);
            QCOMPARE(thinned, step != u'S');
            if (thinned)
                for (const QString &text : std::as_const(going))
                    expected.remove(text);
            break;
        }
        case u'n':
            list.setOrder(Order::BestNumberFirst);
            break;
        case u'i':
            QTRY_VERIFY_WITH_TIMEOUT(!list.isPreparing(), 60'000);
            break;
        case u'h':
            hiding = !hiding;
            list.setShownLines(hiding ? core::ItemListModel::LineTest(isShown)
                                      : core::ItemListModel::LineTest());
            break;
        }
    }
    list.showPending();
    list.finishOrdering();
    QCOMPARE(list.order(), list.wantedOrder());
    const auto foundAt = [](const QString &text) {
        return text.section(u'-', -1).toInt();
    };
    for (auto line = expected.begin(); line != expected.end();)
        line = hiding && !isShown(line.key()) ? expected.erase(line) : std::next(line);
    if (list.order() == Order::BestNumberFirst) {
        QHash<int, QString> best; // group -> its best line
        for (auto line = expected.cbegin(); line != expected.cend(); ++line) {
            QString &shown = best[foundAt(line.key()) / 1000];
            if (shown.isEmpty()
                || std::pair(rankOf(line.key()), foundAt(line.key()))
                       < std::pair(rankOf(shown), foundAt(shown)))
                shown = line.key();
        }
        for (auto line = expected.begin(); line != expected.end();)
            line = best.value(foundAt(line.key()) / 1000) != line.key() ? expected.erase(line)
                                                                        : std::next(line);
    }
    QCOMPARE(list.rows(), int(expected.size()));
    QCOMPARE(list.hiddenLines(), list.storedLines() - list.rows());
    for (int row = 0; row < list.rows(); ++row) {
        const QString text = list.text(row);
        QVERIFY2(expected.contains(text), qPrintable(text));
        QCOMPARE(list.isChecked(row), expected.value(text));
        if (row == 0)
            continue;
        const QString previous = list.text(row - 1);
        bool inOrder = foundAt(previous) < foundAt(text);
        if (core::ItemListModel::isRanked(list.order()) && rankOf(previous) != rankOf(text))
            inOrder = rankOf(previous) < rankOf(text);
        if (list.order() == Order::AToZ && previous.compare(text, Qt::CaseInsensitive) != 0)
            inOrder = previous.compare(text, Qt::CaseInsensitive) < 0;
        QVERIFY2(inOrder, qPrintable(previous + u" before "_s + text));
    }
}

// A subset shown: hidden lines ("X...") and, under "Best number first", all
// but each group's best; lines arriving are placed the same way, a better
// line of a group takes its row. Once everything shows again, every line
// but the one removed is back once, with its check mark.
void TestItemListModel::shownLines_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("hide");
    QTest::addColumn<QStringList>("shown");
    const QStringList all{
        u"b1"_s, u"X2"_s, u"c3"_s, u"a4"_s, u"X5"_s, u"f0"_s, u"d6"_s, u"X7"_s, u"e8"_s};
    using Order = core::ItemListModel::Order;
    QTest::newRow("as found, all") << int(Order::AsFound) << false << all;
    QTest::newRow("as found, hidden")
        << int(Order::AsFound) << true
        << QStringList{u"b1"_s, u"c3"_s, u"a4"_s, u"f0"_s, u"d6"_s, u"e8"_s};
    QTest::newRow("best first, hidden")
        << int(Order::BestFirst) << true
        << QStringList{u"e8"_s, u"d6"_s, u"a4"_s, u"c3"_s, u"b1"_s, u"f0"_s};
    QTest::newRow("a to z, hidden")
        << int(Order::AToZ) << true
        << QStringList{u"a4"_s, u"b1"_s, u"c3"_s, u"d6"_s, u"e8"_s, u"f0"_s};
    QTest::newRow("best number first: d6 takes X5's row")
        << int(Order::BestNumberFirst) << false << QStringList{u"e8"_s, u"d6"_s, u"c3"_s};
    QTest::newRow("best number first, hidden: d6 takes a4's row")
        << int(Order::BestNumberFirst) << true << QStringList{u"e8"_s, u"d6"_s, u"c3"_s};
}

void TestItemListModel::shownLines()
{
    QFETCH(int, order);
    QFETCH(bool, hide);
    QFETCH(QStringList, shown);
    core::ItemListModel list({u"Results"_s});
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Groups g1 (b1 X2 c3), g2 (a4 X5, then f0, then d6), g3 (X7 e8); a
    // larger digit ranks first.
    const auto rank = [](QStringView line, QStringView) {
        return quint32(100 - line.back().digitValue());
    };
    list.startGroup(u"g1"_s);
    list.appendBatch({u"b1"_s, u"X2"_s, u"c3"_s}, true);
    list.setChecked(2, false);
    list.startGroup(u"g2"_s);
    list.appendBatch({u"a4"_s, u"X5"_s}, true);
    list.setOrder(core::ItemListModel::Order(order), rank);
    if (hide)
        list.setShownLines([](QStringView line) {
            return !line.startsWith(u'X');
        });
    list.appendPending(u"f0"_s, true);
    list.showPending();
    list.appendPending(u"d6"_s, true);
    list.startGroup(u"g3"_s);
    list.appendPending(u"X7"_s, true);
    list.appendPending(u"e8"_s, true);
    list.showPending();
    QCOMPARE(testsupport::texts(list), shown);
    QCOMPARE(list.hiddenLines(), 9 - shown.size());
    QCOMPARE(list.checkedRows(), shown.size() - (shown.contains(u"c3"_s) ? 1 : 0));
    QCOMPARE(list.groupOfRow(int(shown.indexOf(u"d6"_s))), u"g2"_s);

    list.removeAt(0);
    list.setShownLines({});
    list.setOrder(core::ItemListModel::Order::AsFound);
    QStringList remaining{
        u"b1"_s, u"X2"_s, u"c3"_s, u"a4"_s, u"X5"_s, u"f0"_s, u"d6"_s, u"X7"_s, u"e8"_s};
    remaining.removeOne(shown.front());
    QCOMPARE(testsupport::texts(list), remaining);
    QCOMPARE(list.hiddenLines(), 0);
    QVERIFY(!list.isChecked(int(remaining.indexOf(u"c3"_s))));
    QCOMPARE(list.checkedRows(), remaining.size() - 1);
}

// Enough lines to fill many blocks and pages of the store; removing every
// other line compacts it.
void TestItemListModel::manyLinesKeepTheirTextsAndMarks()
{
    constexpr int Lines = 600'000;
    core::ItemListModel list;
    for (int i = 0; i < Lines; ++i)
        list.appendPending(QString::number(i), i % 3 == 0);
    list.showPending();
    QList<int> odd;
    for (int i = 1; i < Lines; i += 2)
        odd.append(i);
    list.removeSorted(odd);
    QCOMPARE(list.rows(), Lines / 2);
    // Pages of 512 KiB, 1 MiB and 2 MiB filled exactly, then an empty line.
    core::TextStore store;
    for (int i = 0; i < 7; ++i)
        store.append(QString(512 * 1024, QChar(u'a' + i)), true);
    store.append(QString(), false);
    store.append(u"after"_s, true);
    QCOMPARE(store.text(6), QString(512 * 1024, u'g'));
    QCOMPARE(store.text(7), QString());
    QCOMPARE(store.utf8(7).size(), 0);
    QCOMPARE(store.text(8), u"after"_s);
    for (const int row : {0, 1, 4096, 131071, 262144, Lines / 2 - 1}) {
        QCOMPARE(list.text(row), QString::number(2 * row));
        QCOMPARE(list.isChecked(row), (2 * row) % 3 == 0);
    }
}

// Every allocation of the store is first tried failing: the append that
// needs it fails, the list is as before, and the same append then succeeds.
void TestItemListModel::failedAllocationsLeaveTheListUsable_data()
{
    using Order = core::ItemListModel::Order;
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("subItems");
    QTest::addColumn<bool>("inPieces");
    QTest::addColumn<int>("lines");

    QTest::newRow("as found, past the line words' first region")
        << int(Order::AsFound) << false << false << 270'000;
    QTest::newRow("a to z") << int(Order::AToZ) << false << false << 5'000;
    QTest::newRow("with sub-items") << int(Order::AsFound) << true << false << 5'000;
    QTest::newRow("written in pieces") << int(Order::AsFound) << false << true << 5'000;
}

void TestItemListModel::failedAllocationsLeaveTheListUsable()
{
    QFETCH(int, order);
    QFETCH(bool, subItems);
    QFETCH(bool, inPieces);
    QFETCH(int, lines);
    // Empty lines, lines across page ends, lines with a page of their own.
    const auto lineText = [](int i) {
        if (i % 13 == 0)
            return QString();
        if (i % 50'000 == 7)
            return QString((1 << 20) + i % 5, u'L');
        if (i % 997 == 3)
            return QString(3000, u'p') + QString::number(i);
        return (i % 7 == 1 ? u"\u00e9"_s : QString()) + QString::number(i);
    };
    core::ItemListModel list({u"Number"_s, u"Words"_s});
    // The tester walks every row at each change: only lists that are short
    // and shown in batches.
    std::optional<QAbstractItemModelTester> tester;
    if (lines <= 5'000 && !subItems)
        tester.emplace(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.setOrder(core::ItemListModel::Order(order), [](QStringView, QStringView) {
        return 0u;
    });
    const auto add = [&](int i) {
        const QString text = lineText(i);
        if (subItems) {
            list.appendRow({text, u"w"_s + QString::number(i)}, i % 3 == 0);
        } else if (inPieces) {
            const QByteArray utf8 = text.toUtf8();
            list.beginPendingLine(utf8.size());
            list.writePendingLine(QByteArrayView(utf8).first(utf8.size() / 2));
            list.writePendingLine(QByteArrayView(utf8).sliced(utf8.size() / 2));
            QVERIFY(list.endPendingLine(i % 3 == 0));
        } else {
            list.appendPending(text, i % 3 == 0);
        }
    };
    int failures = 0;
    for (int i = 0; i < lines; ++i) {
        bool failed = false;
        {
            core::detail::FailingAllocations failing(0);
            try {
                add(i);
            } catch (const std::bad_alloc &) {
                failed = true;
            }
        }
        if (failed) {
            ++failures;
            QCOMPARE(list.storedLines(), i);
            add(i);
        }
        QCOMPARE(list.storedLines(), i + 1);
        if (i % 1000 == 0)
            list.showPending();
    }
    list.showPending();
    QVERIFY2(failures >= 5, qPrintable(QString::number(failures)));
    list.setOrder(core::ItemListModel::Order::AsFound);
    QCOMPARE(list.rows(), lines);
    for (int i = 0; i < lines; ++i) {
        QCOMPARE(list.text(i), lineText(i));
        QCOMPARE(list.isChecked(i), i % 3 == 0);
        if (subItems)
            QCOMPARE(list.text(i, 1), u"w"_s + QString::number(i));
    }
}

void TestItemListModel::linesWrittenInPieces_data()
{
    QTest::addColumn<QString>("meanwhile"); // what happens between the pieces
    QTest::addColumn<bool>("added");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing: the line is added")
        << u""_s << true << QStringList{u"before"_s, u"pieces"_s, u"after"_s};
    QTest::newRow("other lines are appended")
        << u"append"_s << true << QStringList{u"before"_s, u"other"_s, u"pieces"_s, u"after"_s};
    QTest::newRow("lines are removed")
        << u"remove"_s << true << QStringList{u"pieces"_s, u"after"_s};
    QTest::newRow("the list is cleared: the line is dropped")
        << u"clear"_s << false << QStringList{u"after"_s};
    QTest::newRow("a second line begins: the first is dropped")
        << u"begin"_s << true << QStringList{u"before"_s, u"ces"_s, u"after"_s};
    QTest::newRow("a long list is thinned: the line goes on in the new store")
        << u"thin"_s << true << QStringList{u"before"_s, u"pieces"_s, u"after"_s};
    QTest::newRow("a piece is missing: the line is dropped")
        << u"short"_s << false << QStringList{u"before"_s, u"after"_s};
}

void TestItemListModel::linesWrittenInPieces()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, added);
    QFETCH(QStringList, expected);
    core::ItemListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.append(u"before"_s);
    list.beginPendingLine(6);
    list.writePendingLine("pie");
    if (meanwhile == u"append")
        list.append(u"other"_s);
    else if (meanwhile == u"remove")
        list.removeAt(0);
    else if (meanwhile == u"clear")
        list.clear();
    else if (meanwhile == u"begin")
        list.beginPendingLine(3);
    else if (meanwhile == u"thin") {
        list.appendBatch(QStringList(core::ItemListModel::OrderAtOnceLines, u"gone"_s), false);
        std::vector<char> drop(std::size_t(list.storedLines()), 1);
        drop[0] = 0;
        QVERIFY(list.removeStoredInSteps(std::move(drop), {}));
    }
    if (meanwhile != u"short")
        list.writePendingLine("ces");
    QCOMPARE(list.endPendingLine(true), added);
    list.append(u"after"_s);
    QCOMPARE(testsupport::texts(list), expected);
}

QTEST_GUILESS_MAIN(TestItemListModel)
// New lines merged into a sorted order in place, on one thread, on two, or on
// one that a second joins once asked for; cancelled half way, the order is as it was before. A late
// batch, but for its first 1,000 lines, sorts among the later half of the lines: of two threads,
// the first has few of it and gets to its end.
void TestItemListModel::preparedOrderMerges_data()
{
    QTest::addColumn<int>("sorted");
    QTest::addColumn<int>("batch");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<int>("second"); // thread: never, from the start, once asked
    QTest::addColumn<bool>("late");
    QTest::newRow("a batch among many") << 50'000 << 40'000 << false << 0 << false;
    QTest::newRow("a small batch among many") << 100'000 << 1'000 << false << 0 << false;
    QTest::newRow("a few lines before a large batch") << 1'000 << 100'000 << false << 0 << false;
    QTest::newRow("into nothing") << 0 << 3 << false << 0 << false;
    QTest::newRow("a batch larger than the order") << 30'000 << 70'000 << false << 0 << false;
    QTest::newRow("a larger batch cancelled half way") << 30'000 << 70'000 << true << 0 << false;
    QTest::newRow("cancelled half way") << 50'000 << 40'000 << true << 0 << false;
    QTest::newRow("on two threads") << 200'000 << 100'000 << false << 1 << false;
    QTest::newRow("on two threads, galloping") << 300'000 << 2'000 << false << 1 << false;
    QTest::newRow("on two threads, cancelled") << 200'000 << 100'000 << true << 1 << false;
    QTest::newRow("on two threads, a late batch") << 400'000 << 40'000 << false << 1 << true;
    QTest::newRow("a second thread asked for half way")
        << 800'000 << 400'000 << false << 2 << false;
    QTest::newRow("on two threads, a late batch cancelled")
        << 400'000 << 40'000 << true << 1 << true;
}

void TestItemListModel::preparedOrderMerges()
{
    QFETCH(int, sorted);
    QFETCH(int, batch);
    QFETCH(bool, cancelled);
    QFETCH(int, second);
    QFETCH(bool, late);
    // A thousand keys: lines come in runs from one side, which gallops. A
    // merge cancelled or asked for help has keys of its own nearly every
    // line, so that it walks long enough to see the flags.
    const quint64 keys = cancelled || second == 2 ? 1'000'003 : 1000;
    const auto keyOf = [&](quint32 line) {
        const quint64 spread = line * quint64(7919);
        return late && line >= quint32(sorted) + 1000 ? keys / 2 + spread % (keys / 2)
                                                      : spread % keys;
    };
    const auto precedes = [&](quint32 a, quint32 b) {
        return std::pair(keyOf(a), a) < std::pair(keyOf(b), b);
    };
    auto lines = core::BigVector<quint32>(std::size_t(sorted));
    auto added = core::BigVector<quint32>(std::size_t(batch));
    std::iota(lines.begin(), lines.end(), 0);
    std::iota(added.begin(), added.end(), quint32(sorted));
    std::sort(lines.begin(), lines.end(), precedes);
    std::sort(added.begin(), added.end(), precedes);
    const core::BigVector<quint32> before = lines;
    const std::atomic<bool> stop{cancelled};
    // Asked for after some comparisons, a second thread joins the merge.
    std::atomic<bool> helpWanted{false};
    std::atomic<int> compared{0};
    std::atomic<bool> helped{false};
    const auto mainThread = std::this_thread::get_id();
    const auto merging = [&](quint32 a, quint32 b) {
        if (second == 2 && ++compared == 10'000)
            helpWanted.store(true);
        if (std::this_thread::get_id() != mainThread)
            helped.store(true);
        return precedes(a, b);
    };
    QCOMPARE(core::detail::mergeInPlace(lines,
                                        added,
                                        merging,
                                        stop,
                                        core::detail::NoFetchAhead(),
                                        second == 1,
                                        second == 2 ? &helpWanted : nullptr),
             !cancelled);
    if (second == 2)
        QVERIFY(helped.load());
    core::BigVector<quint32> expected = before;
    if (!cancelled) {
        expected.insert(expected.end(), added.begin(), added.end());
        std::sort(expected.begin(), expected.end(), precedes);
    }
    QVERIFY(lines == expected);
}

// Lines A to Z: bytes compared as unsigned, ASCII letters without case,
// eight at a time where both lines have them.
void TestItemListModel::linesCompareAToZ_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("case ignored past eight bytes") << "ABCDEFGH-IJ"_ba
                                                   << "abcdefgh-ij"_ba << 0;
    QTest::newRow("the ninth byte decides") << "abcdefgh-a"_ba
                                            << "ABCDEFGH-B"_ba << -1;
    QTest::newRow("a prefix first") << "abcdefghij"_ba
                                    << "abcdefghijk"_ba << -1;
    QTest::newRow("'[' before a letter lowered") << "12345678["_ba
                                                 << "12345678A"_ba << -1;
    QTest::newRow("a byte past ASCII last") << "\xc3\xa9"
                                               "abcdefgh"_ba
                                            << "zabcdefgh"_ba << 1;
    QTest::newRow("a byte past ASCII in the second word") << "abcdefgh\xc3\xa9"_ba
                                                          << "abcdefghZ"_ba << 1;
}

void TestItemListModel::linesCompareAToZ()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, expected);
    QCOMPARE(core::detail::compareIgnoringAsciiCase(a, b), expected);
    QCOMPARE(core::detail::compareIgnoringAsciiCase(b, a), -expected);
}

// Sorting lines A to Z gives what comparing them gives, equal texts in found
// order: texts repeated many times, alike past their first eight and sixteen
// bytes, differing in case or only in trailing zero bytes, beginning alike
// in few ways and then in many; on two threads,
// lines alike in their first eight bytes (sorted in halves, then merged) and
// lines that their first bytes part (sorted in two parts).
void TestItemListModel::linesSortAToZ_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("parallel");
    QTest::newRow("repeated, alike past sixteen bytes") << 0 << 20'000 << false;
    QTest::newRow("trailing zero bytes") << 1 << 5'000 << false;
    QTest::newRow("trailing zero bytes, a short run") << 1 << 60 << false;
    QTest::newRow("lengths around the keys' ends") << 2 << 20'000 << false;
    QTest::newRow("repeated, in two halves") << 0 << 300'000 << true;
    QTest::newRow("in two parts by their beginnings") << 3 << 300'000 << true;
    QTest::newRow("few beginnings, then many") << 4 << 20'000 << false;
}

void TestItemListModel::linesSortAToZ()
{
    QFETCH(int, kind);
    QFETCH(int, lines);
    QFETCH(bool, parallel);
    const auto textOf = [kind, lines](int i) {
        if (kind == 4)
            return QByteArray::number(i < lines / 2 ? i % 10 : i);
        if (kind == 0) {
            const QByteArray text =
                "sharedbeginning-" + QByteArray::number(qint64(i) * 7919 % 300, 36);
            return i % 2 ? text.toUpper() : text;
        }
        if (kind == 1)
            return "abcdefgh"_ba + QByteArray(i % 11, '\0') + (i % 5 == 0 ? "x"_ba : ""_ba);
        if (kind == 3)
            return QByteArray::number(qint64(i) * 7919 % 1000).rightJustified(3, '0') + "-tail"
                   + QByteArray::number(i % 7);
        return QByteArray(i * 31 % 40, i % 3 ? 'a' : 'B');
    };
    core::TextStore store;
    for (int i = 0; i < lines; ++i)
        store.appendUtf8(textOf(i), false);
    const core::TextStore::View view = store.view(lines);
    const std::atomic<bool> stop{false};
    const core::detail::AToZSorter sorter(view, stop);
    core::BigVector<quint32> sorted;
    QVERIFY(sorter.sort(nullptr, 0, std::size_t(lines), sorted, parallel));
    auto expected = core::BigVector<quint32>(std::size_t(lines));
    std::iota(expected.begin(), expected.end(), 0);
    std::sort(expected.begin(), expected.end(), [&](quint32 a, quint32 b) {
        return sorter.precedes(a, b);
    });
    QVERIFY(sorted == expected);
}

// Work ahead of a switch to "A to Z" sorts the lines the switch gives it,
// also those that came after the work began, when it has yet to sort.
void TestItemListModel::switchToAToZTakesTheLinesItGives()
{
    core::TextStore store;
    const auto append = [&store](int count) {
        for (int i = 0; i < count; ++i)
            store.appendUtf8(QByteArray::number(qint64(store.size()) * 7919 % 100'003), false);
    };
    append(100'000);
    core::PreparedOrders prepared;
    core::OrderInput input;
    input.lines = store.view(store.size());
    input.groups = {{0, u"1"_s}};
    input.rankingOnly = true;
    input.prepared = &prepared;
    // The first rank waits until the switch has given the lines.
    std::atomic<bool> given{false};
    input.rank = [&given](QStringView, QStringView) {
        while (!given.load())
            std::this_thread::yield();
        return 0u;
    };
    core::OrderBuild build(input, {});
    append(20'000);
    const core::TextStore::View all = store.view(store.size());
    build.hurry(core::ListOrder::AToZ, all);
    given.store(true);
    core::OrderOutput output;
    QVERIFY(build.take(output));
    auto expected = core::BigVector<quint32>(std::size_t(all.size()));
    std::iota(expected.begin(), expected.end(), 0);
    const std::atomic<bool> stop{false};
    const core::detail::AToZSorter sorter(all, stop);
    std::stable_sort(expected.begin(), expected.end(), [&](quint32 a, quint32 b) {
        return sorter.precedes(a, b);
    });
    QVERIFY(prepared.of(core::ListOrder::AToZ) == expected);
}

#include "tst_itemlistmodel.moc"
