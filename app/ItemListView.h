// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractItemView>

class QHeaderView;

namespace app {

// A view of an item list: rows of one height under a header of columns, one
// row selected at a time. Row positions are computed, never stored, so a list
// of ten million rows scrolls, grows and shrinks as fast as a short one (a
// table view keeps a vertical header with an entry per row, which it walks
// whenever rows are added).
class ItemListView : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit ItemListView(QWidget *parent = nullptr);

    QHeaderView *horizontalHeader() const { return m_header; }
    void setColumnWidth(int column, int width);
    int rowHeight() const;

    void setModel(QAbstractItemModel *model) override;
    void keyboardSearch(const QString &search) override;

    // The rows on screen, wholly or in part: the first one and how many.
    int firstShownRow() const { return firstVisibleRow(); }
    int shownRowCount() const;
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &) const override { return false; }
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void paintEvent(QPaintEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void reset() override;
    void dataChanged(const QModelIndex &topLeft,
                     const QModelIndex &bottomRight,
                     const QList<int> &roles) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;

private:
    int firstVisibleRow() const;
    int visibleRows() const;
    int rowCount() const;
    // Tells screen readers that the current row has the focus.
    void announceCurrentRow();

    // The most rows that typing a row's first letters looks through.
    static constexpr int SearchedRows = 100'000;
    // The most rows whose change of selection screen readers are told of.
    static constexpr int MaxAnnouncedRows = 100;
    QHeaderView *m_header;
};

} // namespace app
