// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ItemListView.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QApplication>
#include <QSet>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int TenMillion = 10'000'000;

// Ten million rows whose texts are made when asked for; every other row is
// ticked. It counts the calls that read a row, so a test sees whether the
// list was walked. Removing rows from the top shifts the texts up.
class ManyRows : public QAbstractListModel
{
public:
    explicit ManyRows(bool checkable)
        : m_checkable(checkable)
    {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        ++reads;
        if (role == Qt::DisplayRole)
            return u"Line %1"_s.arg(index.row() + m_removed);
        if (role == Qt::CheckStateRole && m_checkable)
            return (index.row() % 2 == 0) != m_toggled.contains(index.row()) ? Qt::Checked
                                                                             : Qt::Unchecked;
        return {};
    }
    bool setData(const QModelIndex &index, const QVariant &, int role) override
    {
        if (role != Qt::CheckStateRole || !m_checkable)
            return false;
        if (!m_toggled.remove(index.row()))
            m_toggled.insert(index.row());
        Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        const Qt::ItemFlags flags = QAbstractListModel::flags(index);
        return m_checkable ? flags | Qt::ItemIsUserCheckable : flags;
    }
    QVariant headerData(int section, Qt::Orientation, int role) const override
    {
        return section == 0 && role == Qt::DisplayRole ? u"Results"_s : QVariant();
    }
    void removeFirst(int count)
    {
        beginRemoveRows({}, 0, count - 1);
        m_rows -= count;
        m_removed += count;
        endRemoveRows();
    }

    mutable qint64 reads = 0;

private:
    bool m_checkable;
    int m_rows = TenMillion;
    int m_removed = 0;
    QSet<int> m_toggled;
};

// A shown list view over ManyRows and what screen readers see of it.
struct Fixture
{
    explicit Fixture(bool checkable = true)
        : model(checkable)
    {
        view.setModel(&model);
        view.resize(300, 200);
        view.show();
        list = QAccessible::queryAccessibleInterface(&view);
        table = list->tableInterface();
    }

    ManyRows model;
    app::ItemListView view;
    QAccessibleInterface *list = nullptr;
    QAccessibleTableInterface *table = nullptr;
};

} // namespace

class ItemListAccessibleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The header, then the rows on screen; the table counts every row.
    void childrenAreTheHeaderAndTheRowsOnScreen_data()
    {
        QTest::addColumn<int>("scrolledTo");
        QTest::newRow("top") << 0;
        QTest::newRow("middle") << TenMillion / 2;
        QTest::newRow("end") << TenMillion - 1;
    }
    void childrenAreTheHeaderAndTheRowsOnScreen()
    {
        QFETCH(int, scrolledTo);
        Fixture f;
        f.view.scrollTo(f.model.index(scrolledTo), QAbstractItemView::PositionAtBottom);
        QCOMPARE(f.list->role(), QAccessible::List);
        QCOMPARE(f.table->rowCount(), TenMillion);
        QCOMPARE(f.table->columnCount(), 1);
        QCOMPARE(f.list->child(0)->role(), QAccessible::ColumnHeader);
        QCOMPARE(f.list->child(0)->text(QAccessible::Name), u"Results"_s);
        const int shown = f.view.shownRowCount();
        QVERIFY(shown > 0 && shown < 20);
        QCOMPARE(f.list->childCount(), 1 + shown);
        f.model.reads = 0;
        for (int i = 1; i < f.list->childCount(); ++i) {
            QAccessibleInterface *row = f.list->child(i);
            const int position = f.view.firstShownRow() + i - 1;
            QCOMPARE(row->tableCellInterface()->rowIndex(), position);
            QCOMPARE(row->text(QAccessible::Name), u"Line %1"_s.arg(position));
            QCOMPARE(f.list->indexOfChild(row), i);
            QCOMPARE(row->parent(), f.list);
            QVERIFY(!row->state().invisible);
        }
        QVERIFY(f.list->child(f.list->childCount()) == nullptr);
        QVERIFY(f.model.reads < 10 * shown);
    }

    // A reader asks for any row by its position: it answers from that row
    // alone, off screen too, with its place in the table and its tick.
    void anyRowByItsPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("first") << 0;
        QTest::newRow("off screen") << 4'321'099;
        QTest::newRow("last") << TenMillion - 1;
    }
    void anyRowByItsPosition()
    {
        QFETCH(int, position);
        Fixture f;
        f.model.reads = 0;
        QAccessibleInterface *row = f.table->cellAt(position, 0);
        QVERIFY(row && row->isValid());
        QCOMPARE(row->role(), QAccessible::ListItem);
        QCOMPARE(row->text(QAccessible::Name), u"Line %1"_s.arg(position));
        QCOMPARE(row->tableCellInterface()->rowIndex(), position);
        QCOMPARE(row->tableCellInterface()->table(), f.list);
        QCOMPARE(row->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
                 u"Results"_s);
        QVERIFY(row->state().checkable);
        QCOMPARE(bool(row->state().checked), position % 2 == 0);
        QCOMPARE(row->state().invisible, position != 0);
        QCOMPARE(f.list->indexOfChild(row), position == 0 ? 1 : -1);
        QCOMPARE(f.table->cellAt(position, 0), row); // kept while the rows stay
        QVERIFY(f.model.reads < 20);
    }

    // Positions a reader may send that name no row: an invalid cell, never
    // a crash.
    void positionsOutsideTheListNameNoRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("before the first row") << -1 << 0;
        QTest::newRow("after the last row") << TenMillion << 0;
        QTest::newRow("a column too far") << 0 << 1;
        QTest::newRow("a negative column") << 0 << -1;
    }
    void positionsOutsideTheListNameNoRow()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        Fixture f;
        QAccessibleInterface *cell = f.table->cellAt(row, column);
        QVERIFY(cell);
        QVERIFY(!cell->isValid());
        QCOMPARE(cell->tableCellInterface()->rowIndex(), -1);
        QVERIFY(cell->tableCellInterface()->columnHeaderCells().isEmpty());
        QCOMPARE(f.list->indexOfChild(cell), -1);
        QVERIFY(f.list->child(-1) == nullptr);
    }

    // Rows the user may tick can be toggled by a reader; others offer no
    // action.
    void toggleActionTicksARow()
    {
        Fixture f;
        QAccessibleInterface *row = f.table->cellAt(3, 0);
        QCOMPARE(row->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::toggleAction()});
        QVERIFY(!row->state().checked);
        row->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(row->state().checked);
        Fixture numbers(false);
        QVERIFY(!numbers.table->cellAt(3, 0)->actionInterface());
        QVERIFY(!numbers.table->cellAt(3, 0)->state().checkable);
    }

    void selectionThroughTheTable()
    {
        Fixture f;
        f.view.setSelectionMode(QAbstractItemView::SingleSelection);
        QVERIFY(f.table->selectRow(7'654'321));
        QVERIFY(f.table->isRowSelected(7'654'321));
        QCOMPARE(f.table->selectedRows(), QList<int>{7'654'321});
        QCOMPARE(f.table->selectedRowCount(), 1);
        QCOMPARE(f.table->selectedCells(), QList{f.table->cellAt(7'654'321, 0)});
        QVERIFY(f.table->cellAt(7'654'321, 0)->state().selected);
        QVERIFY(!f.table->selectRow(TenMillion));
        QVERIFY(f.table->unselectRow(7'654'321));
        QCOMPARE(f.table->selectedRowCount(), 0);
    }

    // Interfaces made for a reader that walks the table are kept in bounds,
    // and rows that move are forgotten.
    void madeRowsAreForgotten()
    {
        Fixture f;
        const QAccessible::Id onScreen = QAccessible::uniqueId(f.table->cellAt(1, 0));
        const QAccessible::Id offScreen = QAccessible::uniqueId(f.table->cellAt(5000, 0));
        for (int row = 10'000; row < 12'000; ++row)
            f.table->cellAt(row, 0);
        QVERIFY(QAccessible::accessibleInterface(onScreen));
        QVERIFY(!QAccessible::accessibleInterface(offScreen));
        f.model.removeFirst(1);
        QVERIFY(!QAccessible::accessibleInterface(onScreen));
        QCOMPARE(f.table->cellAt(1, 0)->text(QAccessible::Name), u"Line 2"_s);
    }
};

QTEST_MAIN(ItemListAccessibleTest)
#include "tst_itemlistaccessible.moc"
