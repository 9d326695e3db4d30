// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/MdbDatabase.h"

#include "core/Failure.h"
#include "core/RegularFile.h"
#include "platform/JetFileCheck.h"
#include "platform/MappedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <QtEndian>

// glib first: mdbtools.h wraps its own includes in extern "C".
#include <glib.h>
#include <mdbtools.h>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace platform {

using core::Failure;
using core::ObjectState;

namespace {

QString damaged(const QString &path, const QString &what)
{
    return u"The database '%1' is damaged: %2."_s.arg(QDir::toNativeSeparators(path), what);
}

bool knownType(int type)
{
    switch (type) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_MONEY:
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_DATETIME:
    case MDB_BINARY:
    case MDB_TEXT:
    case MDB_OLE:
    case MDB_MEMO:
    case MDB_REPID:
    case MDB_NUMERIC:
    case MDB_COMPLEX:
        return true;
    default:
        return false;
    }
}

// Where a column's values come from: libmdb's text form, or the row's bytes
// for the common types, which libmdb formats slowly (a Long Integer through
// snprintf, a text through iconv); the two give the same texts.
enum class ValueSource : quint8 { Library, LongInteger, Jet4Text, Skipped };

// The UTF-16 units of a Jet 4 text value: UTF-16LE, or "compressed" after the
// marker FF FE, where every byte is a character and a zero byte switches
// between bytes and UTF-16LE units.
QString jet4Units(const uchar *bytes, qsizetype size)
{
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        QString text(size / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < size / 2; ++i)
            text[i] = QChar(qFromLittleEndian<quint16>(bytes + 2 * i));
        return text;
    }
    QString text(size - 2, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    qsizetype length = 0;
    bool compressed = true;
    for (qsizetype i = 2; i < size;) {
        if (bytes[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            out[length++] = bytes[i++];
        } else if (i + 1 < size) {
            out[length++] = qFromLittleEndian<quint16>(bytes + i);
            i += 2;
        } else {
            break;
        }
    }
    text.truncate(length);
    return text;
}

// A Jet 4 text value as libmdb's conversion gives it: a leading byte-order
// mark is dropped and every surrogate unit becomes "?".
QString jet4Text(const uchar *bytes, qsizetype size)
{
    QString text = jet4Units(bytes, size);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (QChar &c : text) {
        if (c.isSurrogate())
            c = u'?';
    }
    return text;
}

// Every value of a table, row after row, as stored: the texts are made when
// they are asked for, so columns that nobody reads cost little.
struct TableRows
{
    struct Value
    {
        quint32 offset; // into `bytes`
        quint32 size;
        ValueSource source; // Skipped for a null
    };
    QStringList names;
    std::vector<Value> values;
    std::vector<uchar> bytes;

    qsizetype rowCount() const
    {
        return names.isEmpty() ? 0 : qsizetype(values.size()) / names.size();
    }
    int column(const QString &name) const { return int(names.indexOf(name, 0)); }
    void append(ValueSource source, const void *data, std::size_t size)
    {
        values.push_back(Value{quint32(bytes.size()), quint32(size), source});
        const auto *first = static_cast<const uchar *>(data);
        bytes.insert(bytes.end(), first, first + size);
    }
    void appendNull() { values.push_back(Value{0, 0, ValueSource::Skipped}); }
    std::optional<QString> value(qsizetype row, int column) const
    {
        const Value &value = values[size_t(row * names.size() + column)];
        if (value.source == ValueSource::Skipped)
            return std::nullopt;
        const uchar *data = bytes.data() + value.offset;
        switch (value.source) {
        case ValueSource::Library:
            return QString::fromUtf8(reinterpret_cast<const char *>(data), value.size);
        case ValueSource::LongInteger:
            return QString::number(qFromLittleEndian<qint32>(data));
        case ValueSource::Jet4Text:
            return jet4Text(data, value.size);
        case ValueSource::Skipped:
            break;
        }
        return std::nullopt;
    }
};

// The rows of one table, read completely.
class MdbRecordSet : public core::RecordSet
{
public:
    explicit MdbRecordSet(TableRows rows)
        : m_columns(int(rows.names.size()))
        , m_rows(std::move(rows))
    {}

    ObjectState state() const override { return m_open ? ObjectState::Open : ObjectState::Closed; }

    bool eof() const override
    {
        requireOpen();
        return m_row >= rowCount();
    }

    int fieldCount() const override
    {
        requireOpen();
        return m_columns;
    }

    qsizetype recordCount() const override
    {
        requireOpen();
        return rowCount();
    }

    QString fieldName(int position) const override
    {
        requireOpen();
        if (position < 0 || position >= m_columns)
            throw core::Failure(core::dberror::noSuchField());
        return m_rows.names.at(position);
    }

    std::optional<QString> field(int position) const override
    {
        requireOpen();
        if (position < 0 || position >= m_columns)
            throw core::Failure(core::dberror::noSuchField());
        if (m_row >= rowCount())
            throw core::Failure(core::dberror::noCurrentRecord());
        return m_rows.value(m_row, position);
    }

    void moveNext() override
    {
        requireOpen();
        if (m_row >= rowCount())
            throw core::Failure(core::dberror::noCurrentRecord());
        ++m_row;
    }

    void close() override
    {
        requireOpen();
        m_open = false;
        m_rows = TableRows();
    }

private:
    void requireOpen() const
    {
        if (!m_open)
            throw core::Failure(core::dberror::closedObject());
    }
    qsizetype rowCount() const { return m_rows.rowCount(); }

    int m_columns;
    TableRows m_rows;
    qsizetype m_row = 0;
    bool m_open = true;
};

struct TableDefinition
{
    explicit TableDefinition(MdbTableDef *t)
        : table(t)
    {}
    ~TableDefinition() { mdb_free_tabledef(table); }
    TableDefinition(const TableDefinition &) = delete;
    TableDefinition &operator=(const TableDefinition &) = delete;
    MdbTableDef *table;
};

} // namespace

struct MdbConnection::Handle
{
    QString path;
    std::unique_ptr<MappedFile> mapped; // the file, read through `contents`
    QByteArray contents;                // libmdb reads from this buffer while the handle lives
    MdbHandle *mdb = nullptr;
    QList<std::pair<QString, quint32>> tables; // name and definition page

    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

constexpr quint32 CatalogPage = 2;
constexpr qint64 ObjectTypeTable = 1;

// Reads the table whose definition is at `page`. The raw file is checked
// first where libmdb would trust it blindly; a table whose rows do not match
// its row count is damaged. Long values (OLE, memo) are left null when
// `skipLongValues`.
TableRows
readTable(MdbConnection::Handle &handle, quint32 page, const QString &name, bool skipLongValues)
{
    MdbHandle *mdb = handle.mdb;
    const QString &path = handle.path;
    const JetFile jet(handle.contents);
    const QString problem = jet.tableDefinitionProblem(page);
    if (!problem.isEmpty())
        throw core::Failure(damaged(path, problem));

    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    qstrncpy(entry.object_name, name.toUtf8().constData(), sizeof entry.object_name);
    entry.object_type = MDB_TABLE;
    entry.table_pg = page;
    MdbTableDef *raw = mdb_read_table(&entry);
    if (!raw)
        throw core::Failure(
            damaged(path, u"the definition of table '%1' cannot be read"_s.arg(name)));
    const TableDefinition definition(raw);
    MdbTableDef *table = definition.table;
    if (!table->usage_map || table->map_sz < 1)
        throw core::Failure(damaged(path, u"table '%1' has no usage map"_s.arg(name)));
    // Jet allows at most 255 columns in a table.
    if (table->num_cols < 1 || table->num_cols > 255)
        throw core::Failure(
            damaged(path, u"table '%1' has an impossible number of columns"_s.arg(name)));
    // A page holds at most 256 rows (a row pointer has 8 bits for the row).
    const qsizetype expected = table->num_rows;
    if (expected > jet.pageCount() * 256)
        throw core::Failure(
            damaged(path, u"table '%1' claims more rows than the file can hold"_s.arg(name)));
    if (!mdb_read_columns(table) || table->columns->len != table->num_cols)
        throw core::Failure(damaged(path, u"the columns of table '%1' cannot be read"_s.arg(name)));

    const int columns = int(table->num_cols);
    TableRows rows;
    // A Boolean's value is its bit in the null mask: it is never null.
    std::vector<bool> boolean(size_t(columns), false);
    std::vector<ValueSource> sources(size_t(columns), ValueSource::Library);
    for (int c = 0; c < columns; ++c) {
        const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(c)));
        if (!knownType(column->col_type))
            throw core::Failure(
                damaged(path, u"a column of table '%1' has an unknown type"_s.arg(name)));
        boolean[size_t(c)] = column->col_type == MDB_BOOL;
        if (skipLongValues && (column->col_type == MDB_OLE || column->col_type == MDB_MEMO))
            sources[size_t(c)] = ValueSource::Skipped;
        else if (column->col_type == MDB_LONGINT)
            sources[size_t(c)] = ValueSource::LongInteger;
        else if (column->col_type == MDB_TEXT && jet.version() == JetFile::Version::Jet4)
            sources[size_t(c)] = ValueSource::Jet4Text;
        rows.names.append(QString::fromUtf8(column->name));
    }

    const size_t bindSize = mdb->bind_size;
    std::vector<std::vector<char>> buffers(static_cast<size_t>(columns));
    std::vector<int> lengths(size_t(columns), 0);
    for (int c = 0; c < columns; ++c) {
        if (sources[size_t(c)] != ValueSource::Library)
            continue;
        buffers[size_t(c)].resize(bindSize + 1);
        if (mdb_bind_column(table, c + 1, buffers[size_t(c)].data(), &lengths[size_t(c)]) == -1)
            throw core::Failure(
                damaged(path, u"a column of table '%1' cannot be read"_s.arg(name)));
    }

    std::vector<MdbField> fields(size_t(columns) + 1);
    rows.values.reserve(size_t(std::min<qsizetype>(expected, 100000)) * size_t(columns));
    rows.bytes.reserve(size_t(std::min<qsizetype>(expected, 100000)) * 16 * size_t(columns));
    qsizetype fetched = 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        if (++fetched > expected)
            break;
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, int(table->cur_row) - 1, &start, &length) != 0
            || mdb_crack_row(table, start & 0x1FFF, length, fields.data()) != columns) {
            throw core::Failure(damaged(path, u"a row of table '%1' cannot be read"_s.arg(name)));
        }
        for (int c = 0; c < columns; ++c) {
            const MdbField &field = fields[size_t(c)];
            const ValueSource source = sources[size_t(c)];
            if ((field.is_null && !boolean[size_t(c)]) || source == ValueSource::Skipped) {
                rows.appendNull();
            } else if (source == ValueSource::Library) {
                const size_t len = std::min(size_t(std::max(lengths[size_t(c)], 0)), bindSize);
                rows.append(source, buffers[size_t(c)].data(), len);
            } else {
                // The value's bytes lie in the current page, unless the row is damaged.
                const auto *bytes = static_cast<const uchar *>(field.value);
                const uchar *const page = mdb->pg_buf;
                if (!bytes || field.siz < 0 || bytes < page
                    || bytes + field.siz > page + std::min<ssize_t>(mdb->fmt->pg_size, MDB_PGSIZE)
                    || (source == ValueSource::LongInteger && field.siz != 4))
                    throw core::Failure(
                        damaged(path, u"a value of table '%1' cannot be read"_s.arg(name)));
                rows.append(source, bytes, size_t(field.siz));
            }
        }
    }
    if (fetched != expected) {
        throw core::Failure(damaged(
            path,
            u"table '%1' should hold %2 rows but %3 could be read"_s.arg(name).arg(expected).arg(
                fetched)));
    }
    return rows;
}

// A file that shrank or changed while it was read gives a damaged-file
// report, not a mix of old and new.
void requireUnchanged(const MdbConnection::Handle &handle)
{
    if (handle.mapped && handle.mapped->changed())
        throw core::Failure(damaged(handle.path, u"it changed while it was being read"_s));
}

} // namespace

std::unique_ptr<core::Connection> MdbDatabase::createConnection()
{
    return std::make_unique<MdbConnection>();
}

MdbConnection::MdbConnection() = default;
MdbConnection::~MdbConnection() = default;

ObjectState MdbConnection::state() const
{
    return m_handle ? ObjectState::Open : ObjectState::Closed;
}

void MdbConnection::open(const QString &connectionText)
{
    if (m_handle)
        throw core::Failure(core::dberror::openObject());
    const QString source = core::dataSourceOf(connectionText);
    const QString path = QFileInfo(source).absoluteFilePath();
    const QString shown = QDir::toNativeSeparators(path);
    auto file = std::make_unique<QFile>();
    QString error;
    switch (const core::FileKind kind = core::openRegularFile(*file, path, &error)) {
    case core::FileKind::Regular:
        break;
    case core::FileKind::Missing:
    case core::FileKind::DanglingLink:
        throw core::Failure(u"Could not find file '%1'."_s.arg(shown));
    case core::FileKind::Folder:
        throw core::Failure(u"Cannot open '%1': it is a folder, not a database file."_s.arg(shown));
    default:
        throw core::Failure(
            u"Cannot open the file '%1': %2."_s.arg(shown, core::fileKindProblem(kind)));
    }
    if (!file->isOpen())
        throw core::Failure(u"Cannot open the file '%1': %2."_s.arg(shown, error));
    // The header is checked before anything else is read; then the file is
    // mapped, never copied, and libmdb reads only the pages it needs.
    const QByteArray head = file->read(JetFile::HeaderSize);
    if (file->error() != QFileDevice::NoError)
        throw core::Failure(u"Cannot read the file '%1': %2."_s.arg(shown, file->errorString()));
    if (!JetFile::recognizedHeader(head))
        throw core::Failure(u"Unrecognized database format '%1'."_s.arg(shown));
    auto mapped = std::make_unique<MappedFile>(*file);
    if (!mapped->isValid())
        throw core::Failure(u"Cannot read the file '%1': %2."_s.arg(shown, mapped->errorString()));
    auto handle = std::make_unique<Handle>();
    handle->contents = mapped->bytes();
    handle->mapped = std::move(mapped);
    openHandle(std::move(handle), path);
}

void MdbConnection::openContents(const QByteArray &contents, const QString &path)
{
    if (m_handle)
        throw core::Failure(core::dberror::openObject());
    auto handle = std::make_unique<Handle>();
    handle->contents = contents;
    openHandle(std::move(handle), path);
}

void MdbConnection::openHandle(std::unique_ptr<Handle> handle, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const JetFile jet(handle->contents);
    if (!jet.recognized())
        throw core::Failure(u"Unrecognized database format '%1'."_s.arg(shown));

    handle->path = path;
    // fmemopen reads the buffer in place; the array is never written.
    handle->mdb = mdb_open_buffer(const_cast<char *>(handle->contents.constData()),
                                  size_t(handle->contents.size()),
                                  MDB_NOFLAGS);
    if (!handle->mdb)
        throw core::Failure(u"Unrecognized database format '%1'."_s.arg(shown));

    // The catalog is read like any table, without the property blobs that
    // libmdb's own catalog reader parses (and loops on when they are damaged).
    const TableRows catalog = readTable(*handle, CatalogPage, u"MSysObjects"_s, true);
    const int id = catalog.column(u"Id"_s);
    const int name = catalog.column(u"Name"_s);
    const int type = catalog.column(u"Type"_s);
    if (id < 0 || name < 0 || type < 0)
        throw core::Failure(damaged(path, u"its table catalog lacks a column"_s));
    for (qsizetype row = 0; row < catalog.rowCount(); ++row) {
        const auto value = [&](int column) {
            return catalog.value(row, column).value_or(QString());
        };
        if ((value(type).toLongLong() & 0x7F) != ObjectTypeTable)
            continue;
        const quint32 page = quint32(value(id).toLongLong() & 0xFFFFFF);
        handle->tables.append({value(name), page});
    }
    requireUnchanged(*handle);
    m_handle = std::move(handle);
}

void MdbConnection::close()
{
    if (!m_handle)
        throw core::Failure(core::dberror::closedObject());
    m_handle.reset();
}

std::unique_ptr<core::RecordSet> MdbConnection::openRecordSet(const QString &query)
{
    if (!m_handle)
        throw core::Failure(core::dberror::closedObject());
    const QString name = core::tableOfQuery(query);
    for (const auto &[tableName, page] : std::as_const(m_handle->tables)) {
        if (tableName.compare(name, Qt::CaseInsensitive) == 0) {
            TableRows rows = readTable(*m_handle, page, tableName, false);
            requireUnchanged(*m_handle);
            return std::make_unique<MdbRecordSet>(std::move(rows));
        }
    }
    throw core::Failure(core::dberror::tableNotFound(name));
}

} // namespace platform
