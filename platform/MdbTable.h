// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/OpenJetFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// Reading Jet files with libmdb: what MdbDatabase.cpp builds on.
namespace platform {

// One table of a Jet file. Opening it walks every row once: a table whose
// rows are missing or lie outside their pages fails then. It keeps where each
// row lies (four bytes a row) and cracks a row when its values are asked for,
// so a damaged value fails when it is read. Values of the common types (Long
// Integer, Jet 4 text) are decoded from the row's bytes; the others keep
// libmdb's text form from the walk, which cracks every row at once.
class MdbTable
{
public:
    // Reads the table whose definition is at `page`; throws core::Failure
    // when it is damaged. Long values (OLE, memo) read as nulls when
    // `skipLongValues`.
    MdbTable(std::shared_ptr<OpenJetFile> file,
             quint32 page,
             const QString &name,
             bool skipLongValues);
    ~MdbTable();
    MdbTable(const MdbTable &) = delete;
    MdbTable &operator=(const MdbTable &) = delete;

    const QStringList &names() const { return m_names; }
    int columnCount() const { return int(m_names.size()); }
    qsizetype rowCount() const { return qsizetype(m_rows.size()); }
    int column(const QString &name) const { return int(m_names.indexOf(name, 0)); }
    // The value of a column of a row, as text; nullopt for a null.
    std::optional<QString> value(qsizetype row, int column);
    // The same into `text`, its storage reused; false for a null.
    bool valueInto(qsizetype row, int column, QString &text);
    // The whole number (of int's range) a value is; nullopt for a null or
    // any other value.
    std::optional<int> wholeNumber(qsizetype row, int column);

    enum class Source : quint8;

private:
    // The walks over the rows when the table opens, with the number of rows
    // found: without libmdb's binding when no column needs its text form.
    qsizetype walkRows(qsizetype expected);
    qsizetype fetchRows(qsizetype expected);
    // Keeps where the row `index` of `page` lies.
    void keepRow(quint32 page, quint32 index);
    // The same, the row cracked at once (the page in libmdb's buffer).
    void addRow(quint32 page, quint32 index);
    // Keeps a row libmdb fetched, whatever its buffer holds now.
    void addFetchedRow(quint32 page, quint32 index);
    // Whether libmdb's reads when it cracks the row stay in the page.
    bool rowFitsPage(int start, size_t length) const;
    // Cracks a row, its page loaded first when another one is.
    void crackRow(qsizetype row);
    void crackLoadedRow(qsizetype row);
    // The walk has reached `page`: the mapped pages it left behind go.
    void passPage(quint32 page);
    [[noreturn]] void fail(const QString &what) const;

    std::shared_ptr<OpenJetFile> m_file;
    std::unique_ptr<MdbCatalogEntry> m_entry;
    MdbTableDef *m_table = nullptr;
    QString m_name;
    QStringList m_names;
    std::vector<Source> m_sources;
    std::vector<bool> m_boolean;
    int m_variableColumns = 0;
    std::vector<quint32> m_rows; // (page << 8) | row index
    quint32 m_keptFrom = 0;      // the first mapped page not dropped yet

    // The values of the columns read in libmdb's text form, row after row.
    struct Stored
    {
        quint64 offset : 47;
        quint64 null : 1;
        quint64 size : 16;
    };
    std::vector<int> m_storedIndex; // per column, its place among them, or -1
    int m_storedColumns = 0;
    std::vector<Stored> m_stored;
    std::vector<char> m_storedBytes;

    // The row cracked last and where its values lie.
    qsizetype m_crackedRow = -1;
    struct Field
    {
        const unsigned char *bytes;
        int size;
        bool null;
    };
    std::vector<Field> m_fields;
    std::vector<MdbField> m_mdbFields;
};

} // namespace platform
