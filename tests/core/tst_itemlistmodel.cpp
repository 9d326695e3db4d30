// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "ItemListModel.h"
#include "TestHelpers.h"

#include <QAbstractItemModelTester>
#include <QTest>

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

QTEST_GUILESS_MAIN(TestItemListModel)
#include "tst_itemlistmodel.moc"
