// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <optional>

// The mdbtools command-line programs, an independent reader of Jet files.
namespace mdbtools {

using Row = QList<std::optional<QString>>;

inline constexpr const char *Missing =
    "mdbtools (mdb-tables, mdb-export) is not installed: run tools/install-deps.sh test";

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty();
}

// Runs one of the programs; nullopt when it cannot start or fails.
inline std::optional<QByteArray> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

inline std::optional<QStringList> tables(const QString &path)
{
    const auto out = run(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), path});
    if (!out)
        return std::nullopt;
    return QString::fromUtf8(*out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Every row of a table, nulls told apart from empty texts: fields, rows and
// nulls are marked by control characters that the data does not hold.
inline std::optional<QList<Row>> exportRows(const QString &path, const QString &table)
{
    const QString field(QChar(0x1F)), record(QChar(0x1E)), null(QChar(0x1D));
    const auto out = run(QStringLiteral("mdb-export"),
                         {QStringLiteral("-H"),
                          QStringLiteral("-Q"),
                          QStringLiteral("-d"),
                          field,
                          QStringLiteral("-R"),
                          record,
                          QStringLiteral("-0"),
                          null,
                          path,
                          table});
    if (!out)
        return std::nullopt;
    QList<Row> rows;
    QStringList records = QString::fromUtf8(*out).split(record);
    records.removeLast(); // what follows the last row's end mark
    for (const QString &text : std::as_const(records)) {
        Row row;
        for (const QString &value : text.split(field))
            row.append(value == null ? std::nullopt : std::optional<QString>(value));
        rows.append(row);
    }
    return rows;
}

} // namespace mdbtools
