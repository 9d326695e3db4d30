// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ItemListAccessible.h"

#include "app/ItemListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPointer>

namespace app {

namespace {

QRect toGlobal(const QWidget *widget, const QRect &local)
{
    return {widget->mapToGlobal(local.topLeft()), local.size()};
}

// What every part of the list has in common: no children, no object of its
// own, the list as parent.
class ListPartAccessible : public QAccessibleInterface
{
public:
    explicit ListPartAccessible(ItemListView *view)
        : m_view(view)
    {}

    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

protected:
    QAbstractItemModel *model() const { return m_view ? m_view->model() : nullptr; }

    QPointer<ItemListView> m_view;
};

// A section of the header: a column header named by its caption.
class HeaderCellAccessible : public ListPartAccessible
{
public:
    HeaderCellAccessible(ItemListView *view, int column)
        : ListPartAccessible(view)
        , m_column(column)
    {}

    int column() const { return m_column; }
    bool isValid() const override { return model() && m_column < model()->columnCount(); }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return model()->headerData(m_column, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QHeaderView *header = m_view->horizontalHeader();
        return toGlobal(header,
                        {header->sectionViewportPosition(m_column),
                         0,
                         header->sectionSize(m_column),
                         header->height()});
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !isValid() || !m_view->horizontalHeader()->isVisible();
        return state;
    }

private:
    int m_column;
};

// One cell of a row (the row itself in a list of one column): its text,
// whether it is ticked, selected and current, and where it stands in the
// table. A position outside the list gives an invalid cell.
class CellAccessible : public ListPartAccessible,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface
{
public:
    CellAccessible(ItemListView *view, int row, int column)
        : ListPartAccessible(view)
        , m_row(row)
        , m_column(column)
    {}

    bool isValid() const override
    {
        return model() && m_row >= 0 && m_column >= 0 && m_row < model()->rowCount()
               && m_column < model()->columnCount();
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (type == QAccessible::ActionInterface && isUserCheckable())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return index().data(Qt::DisplayRole).toString();
    }
    QRect rect() const override
    {
        return isValid() ? toGlobal(m_view->viewport(), m_view->visualRect(index())) : QRect();
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QModelIndex at = index();
        state.selectable = m_view->selectionMode() != QAbstractItemView::NoSelection;
        state.selected = isSelected();
        state.focusable = true;
        state.focused = m_view->hasFocus() && m_view->currentIndex() == at;
        const QVariant check = at.data(Qt::CheckStateRole);
        if (check.isValid()) {
            state.checkable = true;
            state.checked = check.value<Qt::CheckState>() == Qt::Checked;
        }
        state.invisible = !m_view->viewport()->rect().intersects(m_view->visualRect(at));
        state.offscreen = state.invisible;
        return state;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override
    {
        return isValid() && m_view->selectionModel()
               && m_view->selectionModel()->isSelected(index());
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        QAccessibleInterface *list = parent();
        if (!isValid() || !list)
            return {};
        return {list->child(m_column)};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return isValid() ? m_column : -1; }
    int rowIndex() const override { return isValid() ? m_row : -1; }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface *table() const override { return parent(); }

    // QAccessibleActionInterface: a tick the user may change can be toggled.
    QStringList actionNames() const override
    {
        return isUserCheckable() ? QStringList{toggleAction()} : QStringList();
    }
    void doAction(const QString &name) override
    {
        if (name != toggleAction() || !isUserCheckable())
            return;
        const bool checked =
            index().data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        model()->setData(index(), checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QModelIndex index() const { return model()->index(m_row, m_column); }
    bool isUserCheckable() const
    {
        return isValid() && index().flags().testFlag(Qt::ItemIsUserCheckable);
    }

    int m_row;
    int m_column;
};

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
