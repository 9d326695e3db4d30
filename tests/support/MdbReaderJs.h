// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

// The npm package mdb-reader, an independent reader of Jet files, run by node
// from the folder tools/install-deps.sh installs it into. Tests that use it
// define DIGITOME_NODE_DIR and DIGITOME_MDB_READER_SCRIPT (the dump script).
namespace mdbreader {

inline constexpr const char *Missing =
    "mdb-reader (npm) or node is not installed: run tools/install-deps.sh test";

// Puts the dump script beside the package; false when node or the package is
// missing.
inline bool prepare()
{
    const QString nodeDir = QStringLiteral(DIGITOME_NODE_DIR);
    if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty()
        || !QFile::exists(nodeDir + QStringLiteral("/node_modules/mdb-reader/package.json")))
        return false;
    const QString script = nodeDir + QStringLiteral("/mdb-reader-dump.mjs");
    QFile::remove(script);
    return QFile::copy(QStringLiteral(DIGITOME_MDB_READER_SCRIPT), script);
}

// Every table of the file: {"table": {"columns": [...], "rows": [[...], ...]}};
// empty when the reader fails.
inline QJsonObject read(const QString &path)
{
    const QString nodeDir = QStringLiteral(DIGITOME_NODE_DIR);
    QProcess node;
    node.setWorkingDirectory(nodeDir);
    node.start(
        QStringLiteral("node"),
        {nodeDir + QStringLiteral("/mdb-reader-dump.mjs"), QFileInfo(path).absoluteFilePath()});
    if (!node.waitForFinished(120000) || node.exitCode() != 0) {
        qWarning("%s", node.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(node.readAllStandardOutput()).object();
}

} // namespace mdbreader
