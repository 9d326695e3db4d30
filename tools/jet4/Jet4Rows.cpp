// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/jet4/Jet4Rows.h"

#include <QVarLengthArray>

using namespace Qt::Literals::StringLiterals;

namespace jet4::detail {

TableLayout layoutOf(const QString &name, quint8 tableType, QList<Layout> columns)
{
    TableLayout t{name, tableType, std::move(columns), 0, 0};
    for (int i = 0; i < t.columns.size(); ++i) {
        Layout &c = t.columns[i];
        c.number = i;
        if (c.fixed()) {
            c.fixedOffset = t.fixedLength;
            t.fixedLength += c.byteLength;
        } else {
            c.varIndex = t.varCount++;
        }
    }
    return t;
}

TableLayout userTableLayout(const QString &name, const QList<Column> &columns)
{
    QList<Layout> layouts;
    for (const Column &column : columns) {
        Layout c;
        c.name = column.name;
        if (column.type == ColumnType::Long) {
            c.type = TypeLong;
            c.byteLength = 4;
        } else {
            c.type = TypeText;
            c.byteLength = 2 * column.length;
        }
        layouts.append(c);
    }
    return layoutOf(name, 0x4E, layouts);
}

void appendText(QByteArray &bytes, QStringView text)
{
    if (text.isEmpty())
        return;
    bool narrow = text.size() >= 3;
    for (QChar ch : text) {
        if (ch.unicode() == 0 || ch.unicode() > 0xFF) {
            narrow = false;
            break;
        }
    }
    qsizetype at = bytes.size();
    if (narrow) {
        bytes.resize(at + 2 + text.size());
        char *out = bytes.data() + at;
        *out++ = char(0xFF);
        *out++ = char(0xFE);
        for (QChar ch : text)
            *out++ = char(ch.unicode());
        return;
    }
    // A leading U+FEFF would read as the compression mark: open a compressed
    // value and switch it to two-byte mode at once.
    const bool marked = text.front().unicode() == 0xFEFF;
    bytes.resize(at + (marked ? 3 : 0) + 2 * text.size());
    char *out = bytes.data() + at;
    if (marked) {
        *out++ = char(0xFF);
        *out++ = char(0xFE);
        *out++ = '\0';
    }
    for (QChar ch : text) {
        *out++ = char(ch.unicode() & 0xFF);
        *out++ = char(ch.unicode() >> 8);
    }
}

bool encodeRow(const TableLayout &table,
               const QList<Value> &values,
               qsizetype rowNumber,
               QByteArray &row,
               QString *error)
{
    const auto failed = [&](const QString &what) {
        *error = u"Row %1 of table '%2'"_s.arg(rowNumber).arg(table.name) + what;
        return false;
    };
    if (values.size() != table.columns.size()) {
        return failed(
            u" has %1 values for %2 columns."_s.arg(values.size()).arg(table.columns.size()));
    }
    row.fill('\0', 2 + table.fixedLength);
    put16(row, 0, quint16(table.columns.size()));
    QVarLengthArray<quint16, 8> offsets;
    QByteArray mask((table.columns.size() + 7) / 8, '\0');
    for (const Layout &c : table.columns) {
        const Value &value = values[c.number];
        const bool null = std::holds_alternative<std::monostate>(value);
        if (!c.fixed())
            offsets.append(quint16(row.size()));
        if (null)
            continue;
        mask[c.number / 8] = char(mask[c.number / 8] | (1 << (c.number % 8)));
        if (c.fixed() && std::holds_alternative<qint32>(value)) {
            const auto number = quint32(std::get<qint32>(value));
            if (c.type == TypeLong)
                put32(row, 2 + c.fixedOffset, number);
            else
                put16(row, 2 + c.fixedOffset, quint16(number));
        } else if (c.type == TypeText && std::holds_alternative<QString>(value)) {
            const QString &text = std::get<QString>(value);
            if (text.size() > c.byteLength / 2)
                return failed(u": the text in column '%1' is longer than %2."_s.arg(c.name).arg(
                    c.byteLength / 2));
            appendText(row, text);
        } else {
            return failed(u": the value in column '%1' has the wrong type."_s.arg(c.name));
        }
    }
    if (table.varCount > 0) {
        append16(row, quint16(row.size()));
        for (qsizetype i = offsets.size() - 1; i >= 0; --i)
            append16(row, offsets[i]);
        append16(row, quint16(table.varCount));
    }
    row.append(mask);
    if (row.size() > MaxRowLength)
        return failed(u" is too long."_s);
    return true;
}

} // namespace jet4::detail
