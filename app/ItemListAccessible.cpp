// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ItemListAccessible.h"

#include "app/ItemListAccessibleCells.h"
#include "app/ItemListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>

namespace app {

namespace {

// The list: its children are the column headers, then the cells of the rows
// on screen, row by row. Every cell is also reachable through the table
// interface. Interfaces are made on demand and forgotten when the rows they
// stand for move; at most MaxKeptCells are kept.
class ListAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ListAccessible(ItemListView *view)
        : QAccessibleWidget(view, QAccessible::List)
        , m_nowhere(QAccessible::registerAccessibleInterface(new CellAccessible(view, -1, -1)))
    {}
    ~ListAccessible() override
    {
        stopWatching();
        forgetCells(0);
        forgetHeaders();
        QAccessible::deleteAccessibleInterface(m_nowhere);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return columns() * (1 + shownRows()); }
    QAccessibleInterface *child(int index) const override
    {
        const int columnCount = columns();
        if (index < 0 || columnCount == 0)
            return nullptr;
        if (index < columnCount)
            return header(index);
        const int shownIndex = index - columnCount;
        if (shownIndex / columnCount >= shownRows())
            return nullptr;
        return cell(view()->firstShownRow() + shownIndex / columnCount, shownIndex % columnCount);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (const auto *header = dynamic_cast<const HeaderCellAccessible *>(child))
            return header->parent() == this ? header->column() : -1;
        const auto *cell = dynamic_cast<const CellAccessible *>(child);
        if (!cell || cell->parent() != this || !cell->isValid())
            return -1;
        const int shownRow = cell->rowIndex() - view()->firstShownRow();
        if (shownRow < 0 || shownRow >= shownRows())
            return -1;
        return columns() * (1 + shownRow) + cell->columnIndex();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QHeaderView *header = view()->horizontalHeader();
        const QPoint inHeader = header->mapFromGlobal(QPoint(x, y));
        if (header->rect().contains(inHeader)) {
            const int column = header->logicalIndexAt(inHeader);
            return column >= 0 ? this->header(column) : nullptr;
        }
        const QModelIndex at = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return at.isValid() ? cell(at.row(), at.column()) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        if (!view()->hasFocus() || !current.isValid())
            return nullptr;
        return cell(current.row(), current.column());
    }

    // QAccessibleTableInterface
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return QAccessible::accessibleInterface(m_nowhere);
        return cell(row, column);
    }
    int selectedCellCount() const override
    {
        int count = 0;
        for (const QItemSelectionRange &range : selection())
            count += range.height() * range.width();
        return count;
    }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (const QItemSelectionRange &range : selection())
            for (int row = range.top(); row <= range.bottom() && cells.size() < MaxKeptCells; ++row)
                for (int column = range.left(); column <= range.right(); ++column)
                    cells.append(cell(row, column));
        return cells;
    }
    QString columnDescription(int column) const override
    {
        return model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
    }
    int columnCount() const override { return columns(); }
    int rowCount() const override { return model() ? model()->rowCount() : 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override
    {
        int count = 0;
        for (const QItemSelectionRange &range : selection())
            count += range.height();
        return count;
    }
    QString rowDescription(int) const override { return {}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        for (const QItemSelectionRange &range : selection())
            for (int row = range.top(); row <= range.bottom() && rows.size() < MaxKeptCells; ++row)
                rows.append(row);
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return view()->selectionModel() && row >= 0 && row < rowCount()
               && view()->selectionModel()->isRowSelected(row, view()->rootIndex());
    }
    bool selectRow(int row) override { return changeRow(row, QItemSelectionModel::ClearAndSelect); }
    bool unselectRow(int row) override { return changeRow(row, QItemSelectionModel::Deselect); }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells are forgotten as the model's signals come in (watchModel).
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    static constexpr int MaxKeptCells = 1024;

    ItemListView *view() const { return static_cast<ItemListView *>(widget()); }
    QAbstractItemModel *model() const { return view()->model(); }
    int columns() const { return model() ? model()->columnCount() : 0; }
    int shownRows() const { return columns() > 0 ? view()->shownRowCount() : 0; }
    QItemSelection selection() const
    {
        return view()->selectionModel() ? view()->selectionModel()->selection() : QItemSelection();
    }
    bool changeRow(int row, QItemSelectionModel::SelectionFlags how)
    {
        if (!view()->selectionModel() || view()->selectionMode() == QAbstractItemView::NoSelection
            || row < 0 || row >= rowCount())
            return false;
        view()->selectionModel()->select(model()->index(row, 0), how | QItemSelectionModel::Rows);
        return true;
    }

    QAccessibleInterface *header(int column) const
    {
        watchModel();
        if (m_headers.size() <= column)
            m_headers.resize(column + 1);
        QAccessible::Id &id = m_headers[column];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new HeaderCellAccessible(view(), column));
        return QAccessible::accessibleInterface(id);
    }
    QAccessibleInterface *cell(int row, int column) const
    {
        watchModel();
        const quint64 key = quint64(row) << 32 | quint32(column);
        if (const auto found = m_cells.constFind(key); found != m_cells.cend())
            return QAccessible::accessibleInterface(*found);
        if (m_cells.size() >= MaxKeptCells)
            forgetCellsOffScreen();
        auto *made = new CellAccessible(view(), row, column);
        m_cells.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    // Interfaces made for readers are forgotten when the rows or columns of
    // the model change: those of the rows from `firstRow` on.
    void watchModel() const
    {
        QAbstractItemModel *watched = model();
        if (watched == m_watched)
            return;
        stopWatching();
        forgetCells(0);
        forgetHeaders();
        m_watched = watched;
        if (!watched)
            return;
        const auto fromRow = [this](const QModelIndex &, int first) {
            forgetCells(first);
        };
        const auto all = [this] {
            forgetCells(0);
            forgetHeaders();
        };
        m_watching = {
            QObject::connect(watched, &QAbstractItemModel::rowsInserted, view(), fromRow),
            QObject::connect(watched, &QAbstractItemModel::rowsRemoved, view(), fromRow),
            QObject::connect(watched, &QAbstractItemModel::modelReset, view(), all),
            QObject::connect(watched, &QAbstractItemModel::layoutChanged, view(), all),
            QObject::connect(watched, &QAbstractItemModel::rowsMoved, view(), all),
            QObject::connect(watched, &QAbstractItemModel::columnsInserted, view(), all),
            QObject::connect(watched, &QAbstractItemModel::columnsRemoved, view(), all),
        };
    }
    void stopWatching() const
    {
        for (const QMetaObject::Connection &connection : std::as_const(m_watching))
            QObject::disconnect(connection);
        m_watching.clear();
    }
    void forgetCells(int firstRow) const
    {
        for (auto it = m_cells.begin(); it != m_cells.end();) {
            if (int(it.key() >> 32) >= firstRow) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_cells.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Keeps the cells on screen and the current one.
    void forgetCellsOffScreen() const
    {
        const int first = view()->firstShownRow();
        const int end = first + view()->shownRowCount();
        const int current = view()->currentIndex().row();
        for (auto it = m_cells.begin(); it != m_cells.end();) {
            const int row = int(it.key() >> 32);
            if ((row < first || row >= end) && row != current) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_cells.erase(it);
            } else {
                ++it;
            }
        }
    }
    void forgetHeaders() const
    {
        for (const QAccessible::Id id : std::as_const(m_headers))
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        m_headers.clear();
    }

    const QAccessible::Id m_nowhere; // the cell answered for positions outside the list
    mutable QHash<quint64, QAccessible::Id> m_cells;
    mutable QList<QAccessible::Id> m_headers;
    mutable QPointer<QAbstractItemModel> m_watched;
    mutable QList<QMetaObject::Connection> m_watching;
};

QAccessibleInterface *listAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(ItemListView::staticMetaObject.className()))
        return new ListAccessible(static_cast<ItemListView *>(object));
    return nullptr;
}

} // namespace

void installItemListAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(&listAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessibleInterface *accessibleCellOf(ItemListView *view, const QModelIndex &index)
{
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(view);
    if (!list || !list->tableInterface() || !index.isValid())
        return nullptr;
    QAccessibleInterface *cell = list->tableInterface()->cellAt(index.row(), index.column());
    return cell && cell->isValid() ? cell : nullptr;
}

} // namespace app
