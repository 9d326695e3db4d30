// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "ItemListAccessible.h"

#include "ItemListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace app {

namespace {

// One row of the list.
class RowAccessible : public QAccessibleInterface
{
public:
    RowAccessible(ItemListView *view, int row)
        : m_view(view)
        , m_row(row)
    {}

    bool isValid() const override
    {
        return m_view && m_view->model() && m_row < m_view->model()->rowCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return index().data(Qt::DisplayRole).toString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_view->visualRect(index());
        return QRect(m_view->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.selected = m_view->selectionModel()->isSelected(index());
        state.focusable = true;
        state.focused = m_view->hasFocus() && m_view->currentIndex() == index();
        const QVariant check = index().data(Qt::CheckStateRole);
        if (check.isValid()) {
            state.checkable = true;
            state.checked = check.value<Qt::CheckState>() == Qt::Checked;
        }
        const QRect shown = m_view->visualRect(index());
        state.invisible = !m_view->viewport()->rect().intersects(shown);
        state.offscreen = state.invisible;
        return state;
    }

private:
    QModelIndex index() const { return m_view->model()->index(m_row, 0); }

    QPointer<ItemListView> m_view;
    int m_row;
};

// The list: its rows are its children, made when a reader asks for them and
// forgotten whenever the rows change.
class ListAccessible : public QAccessibleWidget
{
public:
    explicit ListAccessible(ItemListView *view)
        : QAccessibleWidget(view, QAccessible::List)
    {
        const auto forget = [this] {
            forgetRows();
        };
        if (QAbstractItemModel *model = view->model()) {
            QObject::connect(model, &QAbstractItemModel::rowsInserted, view, forget);
            QObject::connect(model, &QAbstractItemModel::rowsRemoved, view, forget);
            QObject::connect(model, &QAbstractItemModel::modelReset, view, forget);
            QObject::connect(model, &QAbstractItemModel::layoutChanged, view, forget);
        }
    }
    ~ListAccessible() override { forgetRows(); }

    int childCount() const override { return view()->model() ? view()->model()->rowCount() : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto found = m_rows.constFind(index); found != m_rows.cend())
            return QAccessible::accessibleInterface(*found);
        auto *row = new RowAccessible(view(), index);
        m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key();
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(at);
        return index.isValid() ? child(index.row()) : nullptr;
    }

private:
    ItemListView *view() const { return static_cast<ItemListView *>(widget()); }
    void forgetRows()
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
        m_rows.clear();
    }

    mutable QHash<int, QAccessible::Id> m_rows;
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

} // namespace app
