// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace core {

// The window's lists: ordered rows of texts under N column headers (column 0
// is the row's own text, column c its sub-item c), each row with a checked
// mark. Rows are addressed from 0 here; accessors throw core::Failure for a
// row that does not exist, the way the commands expect a vanished item to fail.
class ItemListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ItemListModel(QStringList headers = {}, QObject *parent = nullptr);

    // Whether the view shows each row's checked mark as a check box.
    void setUserCheckable(bool checkable) { m_userCheckable = checkable; }

    void setHeaders(const QStringList &headers);
    int columns() const { return int(m_headers.size()); }
    QString headerText(int column) const;

    int rows() const { return int(m_texts.size()); }
    bool isEmpty() const { return m_texts.isEmpty(); }
    QString text(int row, int column = 0) const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);

    // Appending: one row, or a batch inside one insert notification.
    void append(const QString &text, bool checked = false);
    void appendRow(const QStringList &columnTexts, bool checked = false);
    void appendBatch(const QStringList &texts, bool checked);
    void appendBatch(QStringList &&texts, bool checked);

    void removeAt(int row);
    // Removes the given rows, which must be ascending and distinct, from the
    // last to the first; runs of neighbours go in one notification. When the
    // rows form many separate runs, the list is compacted in one pass inside
    // a model reset instead (a view then loses its selection).
    void removeSorted(const QList<int> &ascendingRows);
    void clear();

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void checkRow(int row) const;
    void compact(const QList<int> &ascendingRows);

    QStringList m_headers;
    QStringList m_texts;
    QList<QStringList> m_subItems; // parallel to m_texts; empty while no row has any
    QList<bool> m_checked;
    bool m_userCheckable = false;
};

} // namespace core
