#pragma once

#include "engine/Database.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace platform {

// Jet 3 and Jet 4 database files read with libmdb. A record set reads the
// whole table when it opens, so a damaged table fails at the open and never
// half way through.
class MdbDatabase : public engine::Database
{
public:
    std::unique_ptr<engine::Connection> createConnection() override;
};

class MdbConnection : public engine::Connection
{
public:
    MdbConnection();
    ~MdbConnection() override;
    MdbConnection(const MdbConnection &) = delete;
    MdbConnection &operator=(const MdbConnection &) = delete;

    engine::ObjectState state() const override;
    void open(const QString &connectionText) override;
    void close() override;
    std::unique_ptr<engine::RecordSet> openRecordSet(const QString &query) override;

    // Opens file contents already in memory; `path` names the file in the
    // failure descriptions.
    void openContents(const QByteArray &contents, const QString &path);

    struct Handle;

private:
    std::unique_ptr<Handle> m_handle;
};

} // namespace platform
