// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ItemListModel.h"

#include "core/Failure.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace core {

ItemListModel::ItemListModel(QStringList headers, QObject *parent)
    : QAbstractTableModel(parent)
    , m_headers(std::move(headers))
{
    // Thinning in steps learns by this whether the rows it read have changed.
    const auto rowsChanged = [this] {
        ++m_rowChanges;
    };
    connect(this, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(this, &QAbstractItemModel::rowsMoved, this, rowsChanged);
    connect(this, &QAbstractItemModel::layoutChanged, this, rowsChanged);
    connect(this, &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(this, &QAbstractItemModel::dataChanged, this, rowsChanged);
}

void ItemListModel::setHeaders(const QStringList &headers)
{
    beginResetModel();
    m_headers = headers;
    endResetModel();
}

QString ItemListModel::headerText(int column) const
{
    if (column < 0 || column >= columns())
        throw Failure(u"Index out of bounds"_s);
    return m_headers.at(column);
}

void ItemListModel::checkRow(int row) const
{
    if (row < 0 || row >= m_shown)
        throw Failure(u"Index out of bounds"_s);
}

QString ItemListModel::text(int row, int column) const
{
    checkRow(row);
    if (column == 0)
        return m_store.text(stored(row));
    if (column < 0 || column >= columns())
        throw Failure(u"Index out of bounds"_s);
    if (m_subItems.isEmpty())
        return {};
    const QStringList &sub = m_subItems.at(stored(row));
    return column - 1 < sub.size() ? sub.at(column - 1) : QString();
}

QByteArray ItemListModel::textUtf8(int row) const
{
    checkRow(row);
    return m_store.utf8(stored(row)).toByteArray();
}

QString ItemListModel::shownText(int row) const
{
    checkRow(row);
    const QByteArrayView bytes = m_store.utf8(stored(row));
    if (bytes.size() <= ShownCharacters)
        return m_store.text(stored(row));
    // A character takes at most four bytes: the first ShownCharacters
    // characters are whole in that many times four.
    const QByteArrayView head = bytes.first(std::min(bytes.size(), 4 * ShownCharacters));
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless
                               | QStringConverter::Flag::ConvertInitialBom);
    QString shown = decoder.decode(head);
    if (head.size() == bytes.size() && shown.size() <= ShownCharacters)
        return shown;
    qsizetype cut = ShownCharacters;
    if (shown[cut - 1].isHighSurrogate())
        --cut;
    shown.truncate(cut);
    return shown + QChar(0x2026); // an ellipsis
}

bool ItemListModel::isChecked(int row) const
{
    checkRow(row);
    return m_store.isChecked(stored(row));
}

void ItemListModel::setChecked(int row, bool checked)
{
    checkRow(row);
    if (m_store.isChecked(stored(row)) == checked)
        return;
    m_store.setChecked(stored(row), checked);
    ++m_checkChanges;
    const QModelIndex changed = index(row, 0);
    Q_EMIT dataChanged(changed, changed, {Qt::CheckStateRole});
}

int ItemListModel::checkedRows() const
{
    int checked = 0;
    for (int row = 0; row < m_shown; ++row)
        checked += m_store.isChecked(stored(row)) ? 1 : 0;
    return checked;
}

void ItemListModel::append(const QString &text, bool checked)
{
    appendRow(QStringList{text}, checked);
}

void ItemListModel::appendRow(const QStringList &columnTexts, bool checked)
{
    appendStored(columnTexts.value(0), checked, columnTexts.mid(1));
    showPending();
}

void ItemListModel::appendBatch(const QStringList &texts, bool checked)
{
    // A batch that fails part way keeps, and shows, the rows before the failure.
    try {
        for (const QString &text : texts)
            appendPending(text, checked);
    } catch (...) {
        showPending();
        throw;
    }
    showPending();
}

void ItemListModel::startGroup(const QString &label)
{
    if (!m_groupRuns.empty() && m_groupRuns.back().first == m_store.size())
        m_groupRuns.back().label = label;
    else
        m_groupRuns.push_back({m_store.size(), label});
}

QStringView ItemListModel::groupOf(qsizetype line) const
{
    const auto after = std::upper_bound(
        m_groupRuns.begin(), m_groupRuns.end(), line, [](qsizetype l, const GroupRun &run) {
            return l < run.first;
        });
    if (after == m_groupRuns.begin())
        return {};
    return std::prev(after)->label;
}

void ItemListModel::appendPending(QStringView text, bool checked)
{
    appendStored(text, checked, {});
}

void ItemListModel::requireRoomForARow() const
{
    if (m_store.size() >= MostRows)
        throw Failure(u"Out of memory"_s);
}

void ItemListModel::appendPendingUtf8(QByteArrayView utf8, bool checked)
{
    requireRoomForARow();
    if (!m_subItems.isEmpty())
        makeRoomForSubItems(m_subItems);
    m_store.appendUtf8(utf8, checked);
    if (!m_subItems.isEmpty())
        m_subItems.append(QStringList());
}

// The sub-items get their room before the store grows, and the store's
// append changes nothing when it fails: a failure leaves both as they were.
void ItemListModel::appendStored(QStringView text, bool checked, QStringList subItems)
{
    requireRoomForARow();
    if (subItems.isEmpty() && m_subItems.isEmpty()) {
        m_store.append(text, checked);
        return;
    }
    QList<QStringList> firstSubItems;
    QList<QStringList> &parallel = m_subItems.isEmpty() ? firstSubItems : m_subItems;
    if (m_subItems.isEmpty())
        firstSubItems.resize(m_store.size()); // earlier rows get no sub-items
    makeRoomForSubItems(parallel);
    m_store.append(text, checked);
    parallel.append(std::move(subItems));
    if (&parallel == &firstSubItems)
        m_subItems = std::move(firstSubItems);
}

void ItemListModel::makeRoomForSubItems(QList<QStringList> &subItems)
{
    if (subItems.size() == subItems.capacity())
        subItems.reserve(std::max<qsizetype>(8, 2 * subItems.capacity()));
}

void ItemListModel::dropPendingLine()
{
    m_store.dropLine();
}

void ItemListModel::beginPendingLine(qsizetype utf8Size)
{
    requireRoomForARow();
    m_store.beginLine(utf8Size);
}

void ItemListModel::writePendingLine(QByteArrayView utf8)
{
    m_store.writeLine(utf8);
}

bool ItemListModel::endPendingLine(bool checked)
{
    if (!m_subItems.isEmpty())
        makeRoomForSubItems(m_subItems);
    if (!m_store.endLine(checked))
        return false;
    if (!m_subItems.isEmpty())
        m_subItems.append(QStringList());
    return true;
}

qsizetype ItemListModel::bytesUsed() const
{
    return m_store.bytesUsed() + qsizetype(m_permutation.capacity() * sizeof(quint32))
           + qsizetype(m_ranks.capacity() * sizeof(quint32)) + m_prepared.bytesUsed()
           + qsizetype(m_groupRuns.capacity() * sizeof(GroupRun))
           + m_subItems.size() * qsizetype(sizeof(QStringList));
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
        return index.column() == 0 ? shownText(index.row()) : text(index.row(), index.column());
    if (role == Qt::CheckStateRole && m_userCheckable && index.column() == 0)
        return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
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
