// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ItemListAccessibleCells.h"

#include "app/ItemListView.h"

#include <QHeaderView>

namespace app {

namespace {

QRect toGlobal(const QWidget *widget, const QRect &local)
{
    return {widget->mapToGlobal(local.topLeft()), local.size()};
}

} // namespace

ListPartAccessible::ListPartAccessible(ItemListView *view)
    : m_view(view)
{}

QWindow *ListPartAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *ListPartAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAbstractItemModel *ListPartAccessible::model() const
{
    return m_view ? m_view->model() : nullptr;
}

HeaderCellAccessible::HeaderCellAccessible(ItemListView *view, int column)
    : ListPartAccessible(view)
    , m_column(column)
{}

bool HeaderCellAccessible::isValid() const
{
    return model() && m_column < model()->columnCount();
}

QString HeaderCellAccessible::text(QAccessible::Text kind) const
{
    if (kind != QAccessible::Name || !isValid())
        return {};
    return model()->headerData(m_column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QRect HeaderCellAccessible::rect() const
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

QAccessible::State HeaderCellAccessible::state() const
{
    QAccessible::State state;
    state.invisible = !isValid() || !m_view->horizontalHeader()->isVisible();
    return state;
}

CellAccessible::CellAccessible(ItemListView *view, int row, int column)
    : ListPartAccessible(view)
    , m_row(row)
    , m_column(column)
{}

bool CellAccessible::isValid() const
{
    return model() && m_row >= 0 && m_column >= 0 && m_row < model()->rowCount()
           && m_column < model()->columnCount();
}

void *CellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    if (type == QAccessible::ActionInterface && isUserCheckable())
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QString CellAccessible::text(QAccessible::Text kind) const
{
    if (kind != QAccessible::Name || !isValid())
        return {};
    return index().data(Qt::DisplayRole).toString();
}

QRect CellAccessible::rect() const
{
    return isValid() ? toGlobal(m_view->viewport(), m_view->visualRect(index())) : QRect();
}

QAccessible::State CellAccessible::state() const
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

bool CellAccessible::isSelected() const
{
    return isValid() && m_view->selectionModel() && m_view->selectionModel()->isSelected(index());
}

QList<QAccessibleInterface *> CellAccessible::columnHeaderCells() const
{
    QAccessibleInterface *list = parent();
    if (!isValid() || !list)
        return {};
    return {list->child(m_column)};
}

QStringList CellAccessible::actionNames() const
{
    return isUserCheckable() ? QStringList{toggleAction()} : QStringList();
}

void CellAccessible::doAction(const QString &name)
{
    if (name != toggleAction() || !isUserCheckable())
        return;
    const bool checked = index().data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    model()->setData(index(), checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QModelIndex CellAccessible::index() const
{
    return model()->index(m_row, m_column);
}

bool CellAccessible::isUserCheckable() const
{
    return isValid() && index().flags().testFlag(Qt::ItemIsUserCheckable);
}

} // namespace app
