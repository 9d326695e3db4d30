// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "ItemListModel.h"

#include "Failure.h"

using namespace Qt::Literals::StringLiterals;

namespace core {

ItemListModel::ItemListModel(QStringList headers, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
{}

void ItemListModel::setHeaders(const QStringList &headers)
{
    beginResetModel();
    m_headers = headers;
    endResetModel();
}

QString ItemListModel::headerText(int column) const
{
    if (column < 0 || column >= columns())
        throw core::Failure(u"Index out of bounds"_s);
    return m_headers.at(column);
}

void ItemListModel::checkRow(int row) const
{
    if (row < 0 || row >= rows())
        throw core::Failure(u"Index out of bounds"_s);
}

QString ItemListModel::text(int row, int column) const
{
    checkRow(row);
    if (column == 0)
        return m_texts.at(row);
    if (column < 0 || column >= columns())
        throw core::Failure(u"Index out of bounds"_s);
    if (m_subItems.isEmpty())
        return {};
    const QStringList &sub = m_subItems.at(row);
    return column - 1 < sub.size() ? sub.at(column - 1) : QString();
}

bool ItemListModel::isChecked(int row) const
{
    checkRow(row);
    return m_checked.at(row);
}

void ItemListModel::setChecked(int row, bool checked)
{
    checkRow(row);
    if (m_checked.at(row) == checked)
        return;
    m_checked[row] = checked;
    const QModelIndex changed = index(row, 0);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ItemListModel::append(const QString &text, bool checked)
{
    appendRow(QStringList{text}, checked);
}

void ItemListModel::appendRow(const QStringList &columnTexts, bool checked)
{
    const int row = rows();
    beginInsertRows({}, row, row);
    m_texts.append(columnTexts.value(0));
    if (columnTexts.size() > 1 && m_subItems.isEmpty())
        m_subItems.resize(row);
    if (!m_subItems.isEmpty() || columnTexts.size() > 1)
        m_subItems.append(columnTexts.mid(1));
    m_checked.append(checked);
    endInsertRows();
}

void ItemListModel::appendBatch(const QStringList &texts, bool checked)
{
    if (texts.isEmpty())
        return;
    const int first = rows();
    beginInsertRows({}, first, first + int(texts.size()) - 1);
    m_texts.append(texts);
    if (!m_subItems.isEmpty())
        m_subItems.resize(m_texts.size());
    m_checked.insert(m_checked.size(), texts.size(), checked);
    endInsertRows();
}

void ItemListModel::appendBatch(QStringList &&texts, bool checked)
{
    if (texts.isEmpty())
        return;
    const int first = rows();
    const qsizetype count = texts.size();
    beginInsertRows({}, first, first + int(count) - 1);
    // Taking the texts over spares a second list of a million entries.
    if (m_texts.isEmpty())
        m_texts = std::move(texts);
    else
        m_texts.append(std::move(texts));
    if (!m_subItems.isEmpty())
        m_subItems.resize(m_texts.size());
    m_checked.insert(m_checked.size(), count, checked);
    endInsertRows();
}

void ItemListModel::removeAt(int row)
{
    checkRow(row);
    beginRemoveRows({}, row, row);
    m_texts.removeAt(row);
    if (!m_subItems.isEmpty())
        m_subItems.removeAt(row);
    m_checked.removeAt(row);
    endRemoveRows();
}

void ItemListModel::removeSorted(const QList<int> &ascendingRows)
{
    // Beyond a few runs, removing run by run moves the tail of the list once
    // per run (and a view relayouts once per run): quadratic on big lists.
    constexpr qsizetype MaxSeparateRuns = 16;
    qsizetype runs = 0;
    for (qsizetype i = 0; i < ascendingRows.size() && runs <= MaxSeparateRuns; ++i)
        if (i == 0 || ascendingRows.at(i - 1) != ascendingRows.at(i) - 1)
            ++runs;
    if (runs > MaxSeparateRuns) {
        compact(ascendingRows);
        return;
    }

    // Walk from the last position down so every position still to remove
    // stays valid; neighbouring positions go in one notification.
    qsizetype i = ascendingRows.size() - 1;
    while (i >= 0) {
        const int last = ascendingRows.at(i);
        int first = last;
        while (i > 0 && ascendingRows.at(i - 1) == first - 1) {
            --first;
            --i;
        }
        --i;
        checkRow(first);
        checkRow(last);
        beginRemoveRows({}, first, last);
        m_texts.remove(first, last - first + 1);
        if (!m_subItems.isEmpty())
            m_subItems.remove(first, last - first + 1);
        m_checked.remove(first, last - first + 1);
        endRemoveRows();
    }
}

void ItemListModel::compact(const QList<int> &ascendingRows)
{
    for (qsizetype i = 0; i < ascendingRows.size(); ++i) {
        checkRow(ascendingRows.at(i));
        if (i > 0 && ascendingRows.at(i - 1) >= ascendingRows.at(i))
            throw core::Failure(u"Invalid procedure call or argument"_s);
    }

    beginResetModel();
    const qsizetype count = m_texts.size();
    const bool hasSubItems = !m_subItems.isEmpty();
    QString *texts = m_texts.data();
    QStringList *subItems = hasSubItems ? m_subItems.data() : nullptr;
    bool *checked = m_checked.data();
    qsizetype kept = 0;
    qsizetype next = 0;
    for (qsizetype row = 0; row < count; ++row) {
        if (next < ascendingRows.size() && ascendingRows.at(next) == row) {
            ++next;
            continue;
        }
        if (kept != row) {
            texts[kept] = std::move(texts[row]);
            if (hasSubItems)
                subItems[kept] = std::move(subItems[row]);
            checked[kept] = checked[row];
        }
        ++kept;
    }
    m_texts.resize(kept);
    if (hasSubItems)
        m_subItems.resize(kept);
    m_checked.resize(kept);
    endResetModel();
}

void ItemListModel::clear()
{
    if (m_texts.isEmpty())
        return;
    beginResetModel();
    m_texts.clear();
    m_subItems.clear();
    m_checked.clear();
    endResetModel();
}

int ItemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows();
}

int ItemListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant ItemListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::CheckStateRole && m_userCheckable && index.column() == 0)
        return m_checked.at(index.row()) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ItemListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_userCheckable || index.column() != 0
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && m_userCheckable && index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant ItemListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < columns())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace core
