// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <variant>

class QIODevice;

namespace jet4 {

// Writes Jet 4 (.mdb) database files: user tables of Long Integer and Text
// columns, without indexes, readable by libmdb and other Jet readers. A file
// holds up to about 2.2 GB of pages; the tables' rows are encoded twice (once
// to lay out the pages, once to write them), never held whole.

enum class ColumnType { Long, Text };

struct Column
{
    QString name;
    ColumnType type = ColumnType::Text;
    // For Text: the most UTF-16 units a value may hold (1..255).
    int length = 255;
};

// A null, a Long Integer or a text.
using Value = std::variant<std::monostate, qint32, QString>;

struct Table
{
    QString name;
    QList<Column> columns;
    QList<QList<Value>> rows;
};

// A table whose rows are made one at a time while the file is written, for
// tables too large to hold as values: `fillRow(i, values)` sets the values of
// row i (from 0). It is called twice for every row and must give the same
// values both times.
struct GeneratedTable
{
    QString name;
    QList<Column> columns;
    qsizetype rowCount = 0;
    std::function<void(qsizetype row, QList<Value> &values)> fillRow;
};

// The whole file. On a problem with the tables (a value of the wrong type, a
// text too long, a row or definition too large) returns an empty array and
// sets `error`.
QByteArray buildDatabase(const QList<Table> &tables, QString *error);

// Writes the file to `device`, page by page; false with `error` set on
// failure. A problem with the tables is found before anything is written.
bool writeDatabase(QIODevice *device, const QList<Table> &tables, QString *error);
bool writeDatabase(QIODevice *device, const QList<GeneratedTable> &tables, QString *error);

// Writes the file atomically to `path`; an existing file stays untouched on
// failure.
bool writeDatabaseFile(const QString &path, const QList<Table> &tables, QString *error);
bool writeDatabaseFile(const QString &path, const QList<GeneratedTable> &tables, QString *error);

// The stored form of a text value (compressed when every unit is in
// U+0001..U+00FF and there are at least three, else UTF-16LE).
QByteArray encodeText(const QString &text);

inline constexpr int PageSize = 4096;

} // namespace jet4
