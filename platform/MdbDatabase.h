// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Database.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;

namespace platform {

// Opens the dictionary file `path` for reading when it is a regular file,
// without an open that can block; else throws the Failure the dictionary's
// open reports, such as "Could not find file '...'." or "Cannot open the file
// '...': Is a named pipe.".
std::unique_ptr<QFile> openDictionaryFile(const QString &path);

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

    // Opens a file that openDictionaryFile() opened: its header is checked
    // first, then the file is mapped, never copied, and libmdb reads only the
    // pages it needs. `path` names the file in the failure descriptions.
    void openFile(std::unique_ptr<QFile> file, const QString &path);
    // Opens file contents already in memory; `path` names the file in the
    // failure descriptions.
    void openContents(const QByteArray &contents, const QString &path);

    struct Handle;

private:
    void openFile(std::shared_ptr<OpenJetFile> file, const QString &path);

    std::unique_ptr<Handle> m_handle;
};

} // namespace platform
