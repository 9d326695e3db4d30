#include "MdbDatabase.h"

#include "JetFileCheck.h"
#include "engine/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

// glib first: mdbtools.h wraps its own includes in extern "C".
#include <glib.h>
#include <mdbtools.h>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace platform {

using engine::Failure;
using engine::ObjectState;

namespace {

QString damaged(const QString &path, const QString &what)
{
    return u"The database '%1' is damaged: %2."_s.arg(QDir::toNativeSeparators(path), what);
}

// The rows of one table, read completely.
class MdbRecordSet : public engine::RecordSet
{
public:
    MdbRecordSet(int columns, std::vector<std::optional<QString>> values)
        : m_columns(columns)
        , m_values(std::move(values))
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

    std::optional<QString> field(int position) const override
    {
        requireOpen();
        if (position < 0 || position >= m_columns)
            throw Failure(engine::dberror::noSuchField());
        if (m_row >= rowCount())
            throw Failure(engine::dberror::noCurrentRecord());
        return m_values[size_t(m_row) * size_t(m_columns) + size_t(position)];
    }

    void moveNext() override
    {
        requireOpen();
        if (m_row >= rowCount())
            throw Failure(engine::dberror::noCurrentRecord());
        ++m_row;
    }

    void close() override
    {
        requireOpen();
        m_open = false;
        m_values.clear();
    }

private:
    void requireOpen() const
    {
        if (!m_open)
            throw Failure(engine::dberror::closedObject());
    }
    qsizetype rowCount() const
    {
        return m_columns == 0 ? 0 : qsizetype(m_values.size()) / m_columns;
    }

    int m_columns;
    std::vector<std::optional<QString>> m_values;
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
    QByteArray contents; // libmdb reads from this buffer while the handle lives
    MdbHandle *mdb = nullptr;

    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

std::unique_ptr<engine::Connection> MdbDatabase::createConnection()
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
        throw Failure(engine::dberror::openObject());
    const QString source = engine::dataSourceOf(connectionText);
    const QFileInfo info(source);
    const QString path = info.absoluteFilePath();
    const QString shown = QDir::toNativeSeparators(path);
    if (!info.exists())
        throw Failure(u"Could not find file '%1'."_s.arg(shown));
    if (info.isDir())
        throw Failure(u"Cannot open '%1': it is a folder, not a database file."_s.arg(shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(u"Cannot open the file '%1': %2."_s.arg(shown, file.errorString()));
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(u"Cannot read the file '%1': %2."_s.arg(shown, file.errorString()));
    openContents(contents, path);
}

void MdbConnection::openContents(const QByteArray &contents, const QString &path)
{
    if (m_handle)
        throw Failure(engine::dberror::openObject());
    const QString shown = QDir::toNativeSeparators(path);
    const JetFile jet(contents);
    if (!jet.recognized())
        throw Failure(u"Unrecognized database format '%1'."_s.arg(shown));
    const QString catalogProblem = jet.tableDefinitionProblem(2);
    if (!catalogProblem.isEmpty())
        throw Failure(damaged(path, catalogProblem));

    auto handle = std::make_unique<Handle>();
    handle->path = path;
    handle->contents = contents;
    // fmemopen reads the buffer in place; the array is never written.
    handle->mdb = mdb_open_buffer(const_cast<char *>(handle->contents.constData()),
                                  size_t(handle->contents.size()),
                                  MDB_NOFLAGS);
    if (!handle->mdb)
        throw Failure(u"Unrecognized database format '%1'."_s.arg(shown));
    if (!mdb_read_catalog(handle->mdb, MDB_TABLE))
        throw Failure(damaged(path, u"its table catalog cannot be read"_s));
    m_handle = std::move(handle);
}

void MdbConnection::close()
{
    if (!m_handle)
        throw Failure(engine::dberror::closedObject());
    m_handle.reset();
}

std::unique_ptr<engine::RecordSet> MdbConnection::openRecordSet(const QString &query)
{
    if (!m_handle)
        throw Failure(engine::dberror::closedObject());
    const QString name = engine::tableOfQuery(query);
    MdbHandle *mdb = m_handle->mdb;
    const QString &path = m_handle->path;

    MdbCatalogEntry *entry = nullptr;
    for (guint i = 0; mdb->catalog && i < mdb->catalog->len; ++i) {
        auto *candidate = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (candidate->object_type == MDB_TABLE
            && QString::fromUtf8(candidate->object_name).compare(name, Qt::CaseInsensitive) == 0) {
            entry = candidate;
            break;
        }
    }
    if (!entry)
        throw Failure(engine::dberror::tableNotFound(name));

    const QString problem =
        JetFile(m_handle->contents).tableDefinitionProblem(quint32(entry->table_pg));
    if (!problem.isEmpty())
        throw Failure(damaged(path, problem));
    MdbTableDef *raw = mdb_read_table(entry);
    if (!raw)
        throw Failure(damaged(path, u"the definition of table '%1' cannot be read"_s.arg(name)));
    const TableDefinition definition(raw);
    MdbTableDef *table = definition.table;
    if (!table->usage_map || table->map_sz < 1)
        throw Failure(damaged(path, u"table '%1' has no usage map"_s.arg(name)));
    if (!mdb_read_columns(table) || table->columns->len != table->num_cols)
        throw Failure(damaged(path, u"the columns of table '%1' cannot be read"_s.arg(name)));

    const int columns = int(table->num_cols);
    const size_t bindSize = mdb->bind_size;
    std::vector<std::vector<char>> buffers(size_t(columns), std::vector<char>(bindSize + 1));
    std::vector<int> lengths(size_t(columns), 0);
    for (int c = 0; c < columns; ++c) {
        if (mdb_bind_column(table, c + 1, buffers[size_t(c)].data(), &lengths[size_t(c)]) == -1)
            throw Failure(damaged(path, u"a column of table '%1' cannot be read"_s.arg(name)));
    }

    // A Boolean's value is its bit in the null mask: it is never null.
    std::vector<bool> boolean(size_t(columns), false);
    for (int c = 0; c < columns; ++c) {
        const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, guint(c)));
        boolean[size_t(c)] = column->col_type == MDB_BOOL;
    }

    std::vector<MdbField> fields(size_t(columns) + 1);
    std::vector<std::optional<QString>> values;
    values.reserve(size_t(table->num_rows) * size_t(columns));
    const qsizetype expected = table->num_rows;
    qsizetype fetched = 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        if (++fetched > expected)
            break;
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, int(table->cur_row) - 1, &start, &length) != 0
            || mdb_crack_row(table, start & 0x1FFF, length, fields.data()) != columns) {
            throw Failure(damaged(path, u"a row of table '%1' cannot be read"_s.arg(name)));
        }
        for (int c = 0; c < columns; ++c) {
            if (fields[size_t(c)].is_null && !boolean[size_t(c)]) {
                values.emplace_back(std::nullopt);
            } else {
                const size_t len = std::min(size_t(std::max(lengths[size_t(c)], 0)), bindSize);
                values.emplace_back(QString::fromUtf8(buffers[size_t(c)].data(), qsizetype(len)));
            }
        }
    }
    if (fetched != expected) {
        throw Failure(damaged(
            path,
            u"table '%1' should hold %2 rows but %3 could be read"_s.arg(name).arg(expected).arg(
                fetched)));
    }
    return std::make_unique<MdbRecordSet>(columns, std::move(values));
}

} // namespace platform
