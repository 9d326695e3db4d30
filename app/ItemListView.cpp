// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ItemListView.h"

#include "app/ItemListAccessible.h"

#include <QAccessible>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace app {

ItemListView::ItemListView(QWidget *parent)
    : QAbstractItemView(parent)
    , m_header(new QHeaderView(Qt::Horizontal, this))
{
    m_header->setSectionsClickable(true);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    installItemListAccessible();
}

void ItemListView::setModel(QAbstractItemModel *model)
{
    QAbstractItemView::setModel(model);
    m_header->setModel(model);
}

int ItemListView::rowHeight() const
{
    return fontMetrics().height() + 2;
}

int ItemListView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

void ItemListView::setColumnWidth(int column, int width)
{
    m_header->resizeSection(column, width);
}

int ItemListView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int ItemListView::shownRowCount() const
{
    const int partly = (viewport()->height() + rowHeight() - 1) / rowHeight();
    return std::clamp(partly, 0, std::max(0, rowCount() - firstVisibleRow()));
}

// Whole rows that fit in the viewport (at least one).
int ItemListView::visibleRows() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

QRect ItemListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model())
        return {};
    // Far rows lie far outside the viewport; their distance is kept within
    // an int (a list of 130 million rows is 2^31 pixels long).
    const qint64 top = qint64(index.row() - firstVisibleRow()) * rowHeight();
    return {m_header->sectionViewportPosition(index.column()),
            int(std::clamp<qint64>(top, -(1 << 30), 1 << 30)),
            m_header->sectionSize(index.column()),
            rowHeight()};
}

void ItemListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int first = firstVisibleRow();
    const int shown = visibleRows();
    int top = first;
    switch (hint) {
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - shown + 1;
        break;
    case PositionAtCenter:
        top = row - shown / 2;
        break;
    case EnsureVisible:
        if (row < first)
            top = row;
        else if (row >= first + shown)
            top = row - shown + 1;
        break;
    }
    verticalScrollBar()->setValue(top);
}

QModelIndex ItemListView::indexAt(const QPoint &point) const
{
    if (!model() || point.y() < 0)
        return {};
    const int row = firstVisibleRow() + point.y() / rowHeight();
    const int column = m_header->logicalIndexAt(point.x());
    if (row >= rowCount() || column < 0)
        return {};
    return model()->index(row, column, rootIndex());
}

QModelIndex ItemListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int rows = rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    const int row = current.isValid() ? current.row() : -1;
    int next = row;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        next = row - 1;
        break;
    case MoveDown:
    case MoveNext:
        next = row + 1;
        break;
    case MovePageUp:
        next = row - visibleRows();
        break;
    case MovePageDown:
        next = row + visibleRows();
        break;
    case MoveHome:
        next = 0;
        break;
    case MoveEnd:
        next = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return model()->index(
        std::clamp(next, 0, rows - 1), std::max(current.column(), 0), rootIndex());
}

int ItemListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ItemListView::verticalOffset() const
{
    return int(std::min<qint64>(qint64(firstVisibleRow()) * rowHeight(), 1 << 30));
}

void ItemListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!model() || !selectionModel())
        return;
    const int rows = rowCount();
    if (rows == 0 || model()->columnCount(rootIndex()) == 0)
        return;
    const QRect area = rect.normalized();
    const int first = std::clamp(firstVisibleRow() + area.top() / rowHeight(), 0, rows - 1);
    const int last = std::clamp(firstVisibleRow() + area.bottom() / rowHeight(), 0, rows - 1);
    const QModelIndex topLeft = model()->index(first, 0, rootIndex());
    const QModelIndex bottomRight =
        model()->index(last, model()->columnCount(rootIndex()) - 1, rootIndex());
    selectionModel()->select(QItemSelection(topLeft, bottomRight), command);
}

QRegion ItemListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const int first = firstVisibleRow();
    const int last = first + visibleRows();
    for (const QItemSelectionRange &range : selection) {
        const int top = std::max(range.top(), first);
        const int bottom = std::min(range.bottom(), last);
        if (top > bottom)
            continue;
        region += QRect(
            0, (top - first) * rowHeight(), viewport()->width(), (bottom - top + 1) * rowHeight());
    }
    return region;
}

void ItemListView::paintEvent(QPaintEvent *event)
{
    if (!model())
        return;
    QPainter painter(viewport());
    const int rows = rowCount();
    const int columns = model()->columnCount(rootIndex());
    const int first = firstVisibleRow() + event->rect().top() / rowHeight();
    const int last = std::min(rows - 1, firstVisibleRow() + event->rect().bottom() / rowHeight());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    for (int row = std::max(first, 0); row <= last; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QModelIndex index = model()->index(row, column, rootIndex());
            QStyleOptionViewItem cell = option;
            cell.rect = visualRect(index);
            if (selectionModel() && selectionModel()->isSelected(index))
                cell.state |= QStyle::State_Selected;
            if (index == current && hasFocus())
                cell.state |= QStyle::State_HasFocus;
            itemDelegateForIndex(index)->paint(&painter, cell, index);
        }
    }
}

void ItemListView::updateGeometries()
{
    const int headerHeight = m_header->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);
    m_header->setOffset(horizontalOffset());

    const int rows = rowCount();
    const int shown = visibleRows();
    verticalScrollBar()->setRange(0, std::max(0, rows - shown));
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, m_header->length() - area.width()));
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setSingleStep(std::max(1, rowHeight()));
    QAbstractItemView::updateGeometries();
}

void ItemListView::scrollContentsBy(int dx, int dy)
{
    m_header->setOffset(horizontalOffset());
    if (dy != 0)
        viewport()->update();
    else
        viewport()->scroll(dx, 0);
}

void ItemListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

void ItemListView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    scheduleDelayedItemsLayout();
    viewport()->update();
}

void ItemListView::keyboardSearch(const QString &search)
{
    // Typing a row's first letters looks through the rows that follow, a
    // bounded number of them, so that a list of millions stays responsive.
    if (!model() || search.isEmpty())
        return;
    const int rows = rowCount();
    const int start = currentIndex().isValid() ? currentIndex().row() + 1 : 0;
    for (int i = 0; i < std::min(rows, SearchedRows); ++i) {
        const QModelIndex index = model()->index((start + i) % rows, 0, rootIndex());
        if (index.data().toString().startsWith(search, Qt::CaseInsensitive)) {
            setCurrentIndex(index);
            return;
        }
    }
}

void ItemListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    announceCurrentRow();
}

void ItemListView::focusInEvent(QFocusEvent *event)
{
    QAbstractItemView::focusInEvent(event);
    announceCurrentRow();
}

void ItemListView::announceCurrentRow()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    if (QAccessibleInterface *cell = accessibleCellOf(this, currentIndex())) {
        QAccessibleEvent focused(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

void ItemListView::selectionChanged(const QItemSelection &selected,
                                    const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    // One event per row (rows are selected whole), for a bounded number.
    const auto announce = [this](const QItemSelection &rows, QAccessible::Event event) {
        int told = 0;
        for (const QItemSelectionRange &range : rows) {
            for (int row = range.top(); row <= range.bottom() && told < MaxAnnouncedRows;
                 ++row, ++told) {
                if (QAccessibleInterface *cell =
                        accessibleCellOf(this, range.model()->index(row, 0))) {
                    QAccessibleEvent changed(cell, event);
                    QAccessible::updateAccessibility(&changed);
                }
            }
        }
    };
    announce(selected, QAccessible::SelectionAdd);
    announce(deselected, QAccessible::SelectionRemove);
}

void ItemListView::dataChanged(const QModelIndex &topLeft,
                               const QModelIndex &bottomRight,
                               const QList<int> &roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    if (!QAccessible::isActive() || (!roles.isEmpty() && !roles.contains(Qt::CheckStateRole)))
        return;
    // Readers hear a tick change on the rows on screen.
    const int first = std::max(topLeft.row(), firstShownRow());
    const int last = std::min(bottomRight.row(), firstShownRow() + shownRowCount() - 1);
    for (int row = first; row <= last; ++row) {
        if (QAccessibleInterface *cell =
                accessibleCellOf(this, model()->index(row, 0, rootIndex()))) {
            QAccessible::State checked;
            checked.checked = true;
            QAccessibleStateChangeEvent changed(cell, checked);
            QAccessible::updateAccessibility(&changed);
        }
    }
}

void ItemListView::reset()
{
    QAbstractItemView::reset();
    scheduleDelayedItemsLayout();
    viewport()->update();
}

} // namespace app
