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

// The list: its header, then its rows, are its children; a row's interface
// is made when a reader asks for it and forgotten whenever the rows change.
class ListAccessible : public QAccessibleWidget
{
public:
    explicit ListAccessible(ItemListView *view)
        : QAccessibleWidget(view, QAccessible::List)
    {}
    ~ListAccessible() override
    {
        stopWatching();
        forgetRows();
    }

    int childCount() const override { return 1 + rows(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(view()->horizontalHeader());
        const int row = index - ItemListView::accessibleChildOf(0);
        if (row < 0 || row >= rows())
            return nullptr;
        watchModel();
        if (const auto found = m_rows.constFind(row); found != m_rows.cend())
            return QAccessible::accessibleInterface(*found);
        auto *interface = new RowAccessible(view(), row);
        m_rows.insert(row, QAccessible::registerAccessibleInterface(interface));
        return interface;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object() == view()->horizontalHeader())
            return 0;
        for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return ItemListView::accessibleChildOf(it.key());
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = view()->indexAt(at);
        return index.isValid() ? child(ItemListView::accessibleChildOf(index.row())) : nullptr;
    }

private:
    ItemListView *view() const { return static_cast<ItemListView *>(widget()); }
    int rows() const { return view()->model() ? view()->model()->rowCount() : 0; }

    // Rows made for readers are forgotten when the rows of the model change.
    void watchModel() const
    {
        QAbstractItemModel *model = view()->model();
        if (model == m_watched)
            return;
        stopWatching();
        forgetRows();
        m_watched = model;
        const auto forget = [this] {
            forgetRows();
        };
        m_watching = {
            QObject::connect(model, &QAbstractItemModel::rowsInserted, view(), forget),
            QObject::connect(model, &QAbstractItemModel::rowsRemoved, view(), forget),
            QObject::connect(model, &QAbstractItemModel::modelReset, view(), forget),
            QObject::connect(model, &QAbstractItemModel::layoutChanged, view(), forget),
        };
    }
    void stopWatching() const
    {
        for (const QMetaObject::Connection &connection : std::as_const(m_watching))
            QObject::disconnect(connection);
        m_watching.clear();
    }
    void forgetRows() const
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
        m_rows.clear();
    }

    mutable QHash<int, QAccessible::Id> m_rows;
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

} // namespace app
