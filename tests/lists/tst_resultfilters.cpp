// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ItemListModel.h"
#include "lists/ResultFilters.h"
#include "tests/support/TestHelpers.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestResultFilters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filters_data();
    void filters();
    void checkedMarksStayWithTheirItems_data();
    void checkedMarksStayWithTheirItems();
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
        core::ItemListModel list({u"Results"_s});
        QAbstractItemModelTester tester(&list,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.appendBatch(items, true);
        containing ? lists::removeItemsContaining(list, text)
                   : lists::removeItemsNotContaining(list, text);
        QCOMPARE(testsupport::texts(list), containing ? containingLeaves : notContainingLeaves);
        QCOMPARE(list.rowCount(), list.rows());
    }
}

void TestResultFilters::checkedMarksStayWithTheirItems_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("few removals") << 10;
    QTest::newRow("many removals") << 300;
    QTest::newRow("thousands of removals, the kept lines copied") << 20'000;
}

void TestResultFilters::checkedMarksStayWithTheirItems()
{
    QFETCH(int, count);

    // Item i is checked when i % 3 == 0; every item with a 5 in it goes.
    core::ItemListModel list({u"Results"_s});
    for (int i = 0; i < count; ++i)
        list.append(QString::number(i), i % 3 == 0);
    lists::removeItemsContaining(list, u"5"_s);

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

QTEST_GUILESS_MAIN(TestResultFilters)
#include "tst_resultfilters.moc"
