#include "lists/ItemListModel.h"
#include "lists/ResultFilters.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList texts(const lists::ItemListModel &list)
{
    QStringList result;
    for (int row = 0; row < list.rows(); ++row)
        result.append(list.text(row));
    return result;
}

} // namespace

class TestResultFilters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filters_data();
    void filters();
    void checkedMarksStayWithTheirItems_data();
    void checkedMarksStayWithTheirItems();
    void removeSortedKeepsColumnsTogether_data();
    void removeSortedKeepsColumnsTogether();
    void removeSortedRejectsBadRows_data();
    void removeSortedRejectsBadRows();
    void appendBatchTakesTheTextsOver();
};

void TestResultFilters::filters_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("containingLeaves");
    QTest::addColumn<QStringList>("notContainingLeaves");

    const QStringList numbers{u"four three"_s, u"Four Five"_s, u"six"_s};
    QTest::newRow("case is ignored on both sides")
        << numbers << u"FOUR"_s << QStringList{u"six"_s} << numbers.mid(0, 2);
    QTest::newRow("a text that matches nothing")
        << numbers << u"seven"_s << numbers << QStringList();
    QTest::newRow("one space matches the items that have one")
        << numbers << u" "_s << QStringList{u"six"_s} << numbers.mid(0, 2);
    QTest::newRow("a text longer than every item")
        << numbers << u"four three four three"_s << numbers << QStringList();
    QTest::newRow("matching duplicates all go")
        << QStringList{u"IF-I-FILE"_s, u"x"_s, u"IF-I-FILE"_s, u"if-i-file"_s} << u"file"_s
        << QStringList{u"x"_s} << QStringList{u"IF-I-FILE"_s, u"IF-I-FILE"_s, u"if-i-file"_s};
    QTest::newRow("punctuation counts like letters")
        << QStringList{u"IF-I"_s, u"IFI"_s} << u"-"_s << QStringList{u"IFI"_s}
        << QStringList{u"IF-I"_s};
    QTest::newRow("letters beyond ASCII are lowered too")
        << QStringList{u"ÉCOLE"_s, u"ECOLE"_s} << u"é"_s << QStringList{u"ECOLE"_s}
        << QStringList{u"ÉCOLE"_s};
    QTest::newRow("empty items match only the empty text")
        << QStringList{QString(), u"a"_s} << u"a"_s << QStringList{QString()}
        << QStringList{u"a"_s};
    QTest::newRow("an empty list stays empty")
        << QStringList() << u"a"_s << QStringList() << QStringList();
    QTest::newRow("first and last items")
        << QStringList{u"ab"_s, u"c"_s, u"d"_s, u"ba"_s} << u"b"_s << QStringList{u"c"_s, u"d"_s}
        << QStringList{u"ab"_s, u"ba"_s};

    // Many separate matches take the one-pass removal.
    QStringList many;
    QStringList odd;
    QStringList even;
    for (int i = 0; i < 1000; ++i) {
        const QString item = (i % 2 ? u"odd "_s : u"even "_s) + QString::number(i);
        many.append(item);
        (i % 2 ? odd : even).append(item);
    }
    QTest::newRow("many separate matches") << many << u"ODD"_s << even << odd;
}

void TestResultFilters::filters()
{
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QFETCH(QStringList, containingLeaves);
    QFETCH(QStringList, notContainingLeaves);

    for (const bool containing : {true, false}) {
        lists::ItemListModel list({u"Results"_s});
        QAbstractItemModelTester tester(&list,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.appendBatch(items, true);
        containing ? lists::RemoveItemsContaining(list, text)
                   : lists::RemoveItemsNotContaining(list, text);
        QCOMPARE(texts(list), containing ? containingLeaves : notContainingLeaves);
        QCOMPARE(list.rowCount(), list.rows());
    }
}

void TestResultFilters::checkedMarksStayWithTheirItems_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("few removals") << 10;
    QTest::newRow("many removals") << 300;
}

void TestResultFilters::checkedMarksStayWithTheirItems()
{
    QFETCH(int, count);

    // Item i is checked when i % 3 == 0; every item with a 5 in it goes.
    lists::ItemListModel list({u"Results"_s});
    for (int i = 0; i < count; ++i)
        list.append(QString::number(i), i % 3 == 0);
    lists::RemoveItemsContaining(list, u"5"_s);

    int row = 0;
    for (int i = 0; i < count; ++i) {
        if (QString::number(i).contains(u'5'))
            continue;
        QCOMPARE(list.text(row), QString::number(i));
        QCOMPARE(list.isChecked(row), i % 3 == 0);
        ++row;
    }
    QCOMPARE(list.rows(), row);
}

void TestResultFilters::removeSortedKeepsColumnsTogether_data()
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

void TestResultFilters::removeSortedKeepsColumnsTogether()
{
    QFETCH(QList<int>, rows);

    lists::ItemListModel list({u"Number"_s, u"Words"_s});
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

void TestResultFilters::removeSortedRejectsBadRows_data()
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

void TestResultFilters::removeSortedRejectsBadRows()
{
    QFETCH(QList<int>, rows);

    lists::ItemListModel list;
    for (int i = 0; i < 100; ++i)
        list.append(QString::number(i));
    QVERIFY_THROWS_EXCEPTION(std::exception, list.removeSorted(rows));
    // The one-pass removal checks everything before it starts.
    QCOMPARE(list.rows(), 100);
}

void TestResultFilters::appendBatchTakesTheTextsOver()
{
    lists::ItemListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.appendBatch(QStringList{u"a"_s, u"b"_s}, true);
    QStringList more{u"c"_s};
    list.appendBatch(std::move(more), false);
    list.appendBatch(QStringList(), true);

    QCOMPARE(texts(list), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    QVERIFY(list.isChecked(1));
    QVERIFY(!list.isChecked(2));
}

QTEST_GUILESS_MAIN(TestResultFilters)
#include "tst_resultfilters.moc"
