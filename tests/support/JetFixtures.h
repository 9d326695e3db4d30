// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/jet4/Jet4Writer.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Small Jet files for tests, made with our own writer (link jet4writer).
namespace fixtures {

inline jet4::Table wordsTable(const QList<std::optional<QString>> &words,
                              const QString &name = QStringLiteral("words"))
{
    jet4::Table t{name,
                  {{QStringLiteral("ID"), jet4::ColumnType::Long, 0},
                   {QStringLiteral("Category"), jet4::ColumnType::Text, 50},
                   {QStringLiteral("Word"), jet4::ColumnType::Text, 255}},
                  {}};
    qint32 id = 0;
    for (const std::optional<QString> &w : words)
        t.rows.append({jet4::Value(++id),
                       jet4::Value(QStringLiteral("test")),
                       w ? jet4::Value(*w) : jet4::Value()});
    return t;
}

inline QByteArray build(const QList<jet4::Table> &tables)
{
    QString error;
    const QByteArray bytes = jet4::buildDatabase(tables, &error);
    if (bytes.isEmpty())
        qFatal("cannot build a test database: %s", qPrintable(error));
    return bytes;
}

inline bool save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray load(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString connectionTextFor(const QString &path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source= ") + path;
}

} // namespace fixtures
