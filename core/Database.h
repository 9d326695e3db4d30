// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace core {

// The dictionary file is reached through a small connection / record-set pair:
// a connection opened with a connection text, and read-only record sets over
// one table, read row by row with fields addressed by zero-based position.
// Every failure throws core::Failure with a description fit for the error
// report.

enum class ObjectState { Closed = 0, Open = 1 };

class RecordSet
{
public:
    virtual ~RecordSet() = default;

    virtual ObjectState state() const = 0;
    // True once the cursor has passed the last row (at once for an empty table).
    virtual bool eof() const = 0;
    // The number of columns of the table.
    virtual int fieldCount() const = 0;
    // The name of the column at `position`; fails when there is no such column.
    virtual QString fieldName(int position) const = 0;
    // The number of rows.
    virtual qsizetype recordCount() const = 0;
    // The value of the current row's column at `position`, as text; nullopt for
    // a database null. Fails when the position does not exist or there is no
    // current row.
    virtual std::optional<QString> field(int position) const = 0;
    // The same into `text`, whose storage is reused (a loader of millions of
    // rows makes no string per value); false for a null.
    virtual bool fieldInto(int position, QString &text) const;
    // The whole number (of int's range) the value is; nullopt for a null or
    // any other value.
    virtual std::optional<int> fieldWholeNumber(int position) const;
    // Moves to the next row; fails at the end.
    virtual void moveNext() = 0;
    // Fails when already closed.
    virtual void close() = 0;
};

class Connection
{
public:
    virtual ~Connection() = default;

    virtual ObjectState state() const = 0;
    // Opens the database named by the connection text's "Data Source". Fails
    // when the connection is already open or the file cannot be opened.
    virtual void open(const QString &connectionText) = 0;
    // Fails when already closed.
    virtual void close() = 0;
    // Opens a static, read-only record set. The only query understood is
    // "select * from <table>"; the connection must be open.
    virtual std::unique_ptr<RecordSet> openRecordSet(const QString &query) = 0;
};

// Creates connections; the program holds one for its lifetime.
class Database
{
public:
    virtual ~Database() = default;
    virtual std::unique_ptr<Connection> createConnection() = 0;
};

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source= <folder>/dbWords.mdb".
QString wordsConnectionText(const QString &applicationFolder);

// The trimmed file path after "Data Source=". Fails when the text names
// another provider or no data source.
QString dataSourceOf(const QString &connectionText);

// The table of "select * from <table>" (keywords in any case, the name may be
// in brackets). Fails for any other query.
QString tableOfQuery(const QString &query);

// Texts shared by the database implementations.
namespace dberror {
QString closedObject();
QString openObject();
QString noCurrentRecord();
QString noSuchField();
QString tableNotFound(const QString &table);
} // namespace dberror

} // namespace core
