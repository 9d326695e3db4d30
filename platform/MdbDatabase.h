// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Database.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace platform {

struct OpenJetFile;

// Jet 3 and Jet 4 database files read with libmdb. A record set walks the
// whole table when it opens, so a damaged table fails at the open and never
// half way through; it reads each row's values again when the cursor reaches
// it, so a table costs about four bytes a row while it is open.
class MdbDatabase : public core::Database
{
public:
    std::unique_ptr<core::Connection> createConnection() override;
};

class MdbConnection : public core::Connection
{
public:
    MdbConnection();
    ~MdbConnection() override;
    MdbConnection(const MdbConnection &) = delete;
    MdbConnection &operator=(const MdbConnection &) = delete;

    core::ObjectState state() const override;
    void open(const QString &connectionText) override;
    void close() override;
    std::unique_ptr<core::RecordSet> openRecordSet(const QString &query) override;

    // Opens file contents already in memory; `path` names the file in the
    // failure descriptions.
    void openContents(const QByteArray &contents, const QString &path);

    struct Handle;

private:
    void openFile(std::shared_ptr<OpenJetFile> file, const QString &path);

    std::unique_ptr<Handle> m_handle;
};

} // namespace platform
