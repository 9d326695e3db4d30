// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/jet4/Jet4Writer.h"

#include <QByteArray>
#include <QList>
#include <QString>

// How the writer lays out columns and encodes rows; used by Jet4Writer.cpp
// and Jet4Pages.cpp only.
namespace jet4::detail {

inline void put8(QByteArray &b, qsizetype at, quint8 v)
{
    b[at] = char(v);
}

inline void put16(QByteArray &b, qsizetype at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

inline void put32(QByteArray &b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

inline void append16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

constexpr quint8 TypeInteger = 0x03;
constexpr quint8 TypeLong = 0x04;
constexpr quint8 TypeText = 0x0A;
constexpr quint8 TypeOle = 0x0B;

constexpr int MaxRowLength = 4060;

// One column as stored: its type, size and place in a row.
struct Layout
{
    QString name;
    quint8 type = TypeText;
    int number = 0;
    int varIndex = 0;
    int fixedOffset = 0;
    int byteLength = 0;
    bool fixed() const { return type == TypeLong || type == TypeInteger; }
};

struct TableLayout
{
    QString name;
    quint8 tableType = 0x4E; // 0x4E a user table, 0x53 a system table
    QList<Layout> columns;
    int fixedLength = 0;
    int varCount = 0;
};

// Numbers the columns and places the fixed ones.
TableLayout layoutOf(const QString &name, quint8 tableType, QList<Layout> columns);

// The layout of a user table's columns.
TableLayout userTableLayout(const QString &name, const QList<Column> &columns);

// Encodes one row into `row` (its old content is replaced). Integer columns
// take a qint32 and store its low 16 bits; OLE columns take only nulls. On a
// value of the wrong type, a text longer than its column or a row longer than
// a row may be, returns false and sets `error`, naming row `rowNumber`.
bool encodeRow(const TableLayout &table,
               const QList<Value> &values,
               qsizetype rowNumber,
               QByteArray &row,
               QString *error);

// Appends the stored form of a text (see encodeText).
void appendText(QByteArray &bytes, QStringView text);

} // namespace jet4::detail
