// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessible>
#include <QPointer>

class QAbstractItemModel;
class QModelIndex;

namespace app {

class ItemListView;

// What every part of a list has for screen readers: no children, no object
// of its own, the list as parent.
class ListPartAccessible : public QAccessibleInterface
{
public:
    explicit ListPartAccessible(ItemListView *view);

    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

protected:
    QAbstractItemModel *model() const;

    QPointer<ItemListView> m_view;
};

// A section of the header: a column header named by its caption.
class HeaderCellAccessible : public ListPartAccessible
{
public:
    HeaderCellAccessible(ItemListView *view, int column);

    int column() const { return m_column; }
    bool isValid() const override;
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QString text(QAccessible::Text kind) const override;
    QRect rect() const override;
    QAccessible::State state() const override;

private:
    int m_column;
};

// One cell of a row (the row itself in a list of one column): its text,
// whether it is ticked, selected and current, and where it stands in the
// table; a tick the user may change can be toggled. A position outside the
// list gives an invalid cell.
class CellAccessible : public ListPartAccessible,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface
{
public:
    CellAccessible(ItemListView *view, int row, int column);

    bool isValid() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text kind) const override;
    QRect rect() const override;
    QAccessible::State state() const override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return isValid() ? m_column : -1; }
    int rowIndex() const override { return isValid() ? m_row : -1; }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface *table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override;
    void doAction(const QString &name) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QModelIndex index() const;
    bool isUserCheckable() const;

    int m_row;
    int m_column;
};

} // namespace app
