// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/MdbTable.h"

#include "core/Failure.h"
#include "platform/JetFileCheck.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstring>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace platform {

// Where a column's values come from: libmdb's text form, or the row's bytes
// for the common types, which libmdb formats slowly (a Long Integer through
// snprintf, a text through iconv); the two give the same texts.
enum class MdbTable::Source : quint8 { Library, LongInteger, Jet4Text, Skipped };

namespace {

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

// The UTF-16 units of a Jet 4 text value into `text`: UTF-16LE, or
// "compressed" after the marker FF FE, where every byte is a character and a
// zero byte switches between bytes and UTF-16LE units.
void jet4Units(const uchar *bytes, qsizetype size, QString &text)
{
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        text.resize(size / 2);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (qsizetype i = 0; i < size / 2; ++i)
            out[i] = qFromLittleEndian<quint16>(bytes + 2 * i);
        return;
    }
    text.resize(size - 2);
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
}

// A Jet 4 text value as libmdb's conversion gives it: a leading byte-order
// mark is dropped and every surrogate unit becomes "?".
void jet4Text(const uchar *bytes, qsizetype size, QString &text)
{
    jet4Units(bytes, size, text);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (QChar::isSurrogate(units[i]))
            units[i] = u'?';
    }
}

} // namespace

MdbTable::MdbTable(std::shared_ptr<OpenJetFile> file,
                   quint32 page,
                   const QString &name,
                   bool skipLongValues)
    : m_file(std::move(file))
    , m_name(name)
{
    MdbHandle *mdb = m_file->mdb;
    const JetFile jet(m_file->contents);
    const QString problem = jet.tableDefinitionProblem(page);
    if (!problem.isEmpty())
        fail(problem);

    // libmdb reaches the file through the table's catalog entry.
    m_entry = std::make_unique<MdbCatalogEntry>();
    m_entry->mdb = mdb;
    qstrncpy(m_entry->object_name, name.toUtf8().constData(), sizeof m_entry->object_name);
    m_entry->object_type = MDB_TABLE;
    m_entry->table_pg = page;
    m_table = mdb_read_table(m_entry.get());
    if (!m_table)
        fail(u"the definition of table '%1' cannot be read"_s.arg(name));
    if (!m_table->usage_map || m_table->map_sz < 1)
        fail(u"table '%1' has no usage map"_s.arg(name));
    // Jet allows at most 255 columns in a table.
    if (m_table->num_cols < 1 || m_table->num_cols > 255)
        fail(u"table '%1' has an impossible number of columns"_s.arg(name));
    // A page holds at most 256 rows (a row pointer has 8 bits for the row).
    const qsizetype expected = m_table->num_rows;
    if (expected > jet.pageCount() * 256)
        fail(u"table '%1' claims more rows than the file can hold"_s.arg(name));
    if (!mdb_read_columns(m_table) || m_table->columns->len != m_table->num_cols)
        fail(u"the columns of table '%1' cannot be read"_s.arg(name));

    const auto columns = size_t(m_table->num_cols);
    // A Boolean's value is its bit in the null mask: it is never null.
    m_boolean.assign(columns, false);
    m_sources.assign(columns, Source::Library);
    m_storedIndex.assign(columns, -1);
    for (size_t c = 0; c < columns; ++c) {
        const auto *column =
            static_cast<MdbColumn *>(g_ptr_array_index(m_table->columns, guint(c)));
        if (!knownType(column->col_type))
            fail(u"a column of table '%1' has an unknown type"_s.arg(name));
        m_boolean[c] = column->col_type == MDB_BOOL;
        m_variableColumns += column->is_fixed ? 0 : 1;
        if (skipLongValues && (column->col_type == MDB_OLE || column->col_type == MDB_MEMO))
            m_sources[c] = Source::Skipped;
        else if (column->col_type == MDB_LONGINT)
            m_sources[c] = Source::LongInteger;
        else if (column->col_type == MDB_TEXT && jet.version() == JetFile::Version::Jet4)
            m_sources[c] = Source::Jet4Text;
        else
            m_storedIndex[c] = m_storedColumns++;
        m_names.append(QString::fromUtf8(column->name));
    }

    m_fields.resize(columns);
    m_mdbFields.resize(columns + 1);
    m_rows.reserve(size_t(std::min<qsizetype>(expected, 1 << 24)));
    const qsizetype fetched = m_storedColumns > 0 ? fetchRows(expected) : walkRows(expected);
    m_file->loadedPage = OpenJetFile::NoPage; // libmdb read pages of its own
    if (fetched != expected) {
        fail(u"table '%1' should hold %2 rows but %3 could be read"_s.arg(name).arg(expected).arg(
            fetched));
    }
    passPage(std::numeric_limits<quint32>::max());
    m_keptFrom = 0;
}

void MdbTable::keepRow(quint32 page, quint32 index)
{
    if (page > 0xFFFFFF || index > 0xFF)
        fail(u"a row of table '%1' cannot be read"_s.arg(m_name));
    m_rows.push_back(page << 8 | index);
}

void MdbTable::addRow(quint32 page, quint32 index)
{
    keepRow(page, index);
    // Checks the values where they lie, as they are read later.
    crackLoadedRow(qsizetype(m_rows.size()) - 1);
}

void MdbTable::addFetchedRow(quint32 page, quint32 index)
{
    // libmdb's binding may leave another page in its buffer (a long value's);
    // the row is then cracked on its own page, and libmdb gets its buffer
    // back as it left it.
    MdbHandle *mdb = m_file->mdb;
    const qint64 size = mdb->fmt->pg_size;
    const qint64 at = qint64(page) * size;
    if (mdb->f->db_key == 0 && at + size <= m_file->contents.size()
        && std::memcmp(mdb->pg_buf, m_file->contents.constData() + at, size_t(size)) == 0) {
        m_file->loadedPage = page;
        addRow(page, index);
        m_file->loadedPage = OpenJetFile::NoPage;
        return;
    }
    std::vector<unsigned char> saved(mdb->pg_buf, mdb->pg_buf + MDB_PGSIZE);
    const auto savedPage = mdb->cur_pg;
    const auto savedPosition = mdb->cur_pos;
    m_file->loadPage(page);
    addRow(page, index);
    std::memcpy(mdb->pg_buf, saved.data(), saved.size());
    mdb->cur_pg = savedPage;
    mdb->cur_pos = savedPosition;
    m_file->loadedPage = OpenJetFile::NoPage;
}

qsizetype MdbTable::walkRows(qsizetype expected)
{
    // libmdb's own row fetch without its binding and without cracking the
    // rows: the data pages in the order of the usage map, the rows in page
    // order, deleted rows passed over. Each row's place in its page is
    // checked here; its values are cracked once, when they are read.
    MdbHandle *mdb = m_file->mdb;
    qsizetype fetched = 0;
    if (expected == 0)
        return 0;
    mdb_rewind_table(m_table);
    while (mdb_read_next_dpg(m_table)) {
        const quint32 page = m_table->cur_phys_pg;
        passPage(page);
        m_file->loadedPage = page;
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int index = 0; index < rows; ++index) {
            int start = 0;
            size_t length = 0;
            if (mdb_find_row(mdb, index, &start, &length) != 0)
                fail(u"a row of table '%1' cannot be read"_s.arg(m_name));
            if (start & 0x4000) // deleted
                continue;
            if (++fetched > expected)
                return fetched;
            if (!rowFitsPage(start & 0x1FFF, length))
                fail(u"a row of table '%1' cannot be read"_s.arg(m_name));
            keepRow(page, quint32(index));
        }
    }
    return fetched;
}

qsizetype MdbTable::fetchRows(qsizetype expected)
{
    // Columns of the other types come in libmdb's text form, through its
    // binding as it fetches the rows.
    MdbHandle *mdb = m_file->mdb;
    const auto columns = size_t(columnCount());
    const size_t bindSize = mdb->bind_size;
    std::vector<std::vector<char>> buffers(columns);
    std::vector<int> lengths(columns, 0);
    for (size_t c = 0; c < columns; ++c) {
        if (m_storedIndex[c] < 0)
            continue;
        buffers[c].resize(bindSize + 1);
        if (mdb_bind_column(m_table, int(c) + 1, buffers[c].data(), &lengths[c]) == -1)
            fail(u"a column of table '%1' cannot be read"_s.arg(m_name));
    }
    qsizetype fetched = 0;
    mdb_rewind_table(m_table);
    while (mdb_fetch_row(m_table)) {
        if (++fetched > expected)
            break;
        passPage(m_table->cur_phys_pg);
        addFetchedRow(m_table->cur_phys_pg, m_table->cur_row - 1);
        for (size_t c = 0; c < columns; ++c) {
            if (m_storedIndex[c] < 0)
                continue;
            const quint64 offset = m_storedBytes.size();
            Stored stored{};
            stored.offset = offset;
            stored.null = m_fields[c].null ? 1 : 0;
            const size_t length =
                stored.null ? 0 : std::min(size_t(std::max(lengths[c], 0)), bindSize);
            stored.size = length;
            m_stored.push_back(stored);
            m_storedBytes.insert(
                m_storedBytes.end(), buffers[c].data(), buffers[c].data() + length);
        }
    }
    return fetched;
}

MdbTable::~MdbTable()
{
    if (m_table)
        mdb_free_tabledef(m_table);
}

void MdbTable::fail(const QString &what) const
{
    throw core::Failure(damagedDatabase(m_file->path, what));
}

void MdbTable::passPage(quint32 page)
{
    // A big table's pages would all stay in memory after one read; they go
    // in batches of 8 MB, as the walk leaves them behind.
    constexpr quint32 Batch = 2048;
    if (page < m_keptFrom)
        m_keptFrom = page;
    else if (page - m_keptFrom >= Batch) {
        m_file->dropPages(m_keptFrom, page);
        m_keptFrom = page;
    }
}

void MdbTable::crackRow(qsizetype row)
{
    const quint32 page = m_rows[size_t(row)] >> 8;
    // Another table of the file may have read other pages meanwhile.
    if (row == m_crackedRow && m_file->loadedPage == page)
        return;
    if (m_file->loadedPage != page) {
        m_file->loadPage(page);
        passPage(page);
    }
    crackLoadedRow(row);
}

bool MdbTable::rowFitsPage(int start, size_t length) const
{
    // libmdb cracks a row without checking where it lies: the row, its null
    // mask and the table of variable columns before the mask must all lie in
    // the page, or a damaged row sends libmdb's reads far outside it.
    const MdbHandle *mdb = m_file->mdb;
    const qint64 pageSize = std::min<qint64>(mdb->fmt->pg_size, MDB_PGSIZE);
    const qint64 end = qint64(start) + qint64(length) - 1;
    if (length < 2 || start < 1 || end >= pageSize)
        return false;
    const bool jet4 = mdb->f->jet_version != MDB_VER_JET3;
    const int columns =
        jet4 ? mdb->pg_buf[start] | mdb->pg_buf[start + 1] << 8 : mdb->pg_buf[start];
    const qint64 mask = (columns - 1) / 8 + 1;
    // The deepest read before the row's end: Jet 4's end of data, two bytes
    // an entry before the mask; Jet 3's one byte an entry, or its jump table.
    const qint64 deepest = jet4 ? end - mask - 3 - 2 * qint64(m_variableColumns)
                                : end - mask - std::max<qint64>(m_variableColumns + 1, 10);
    return deepest >= 0;
}

void MdbTable::crackLoadedRow(qsizetype row)
{
    MdbHandle *mdb = m_file->mdb;
    m_crackedRow = -1;
    const int index = int(m_rows[size_t(row)] & 0xFF);
    const int columns = columnCount();
    std::vector<MdbField> &fields = m_mdbFields;
    int start = 0;
    size_t length = 0;
    if (mdb_find_row(mdb, index, &start, &length) != 0 || !rowFitsPage(start & 0x1FFF, length)
        || mdb_crack_row(m_table, start & 0x1FFF, length, fields.data()) != columns)
        fail(u"a row of table '%1' cannot be read"_s.arg(m_name));
    const uchar *const pageStart = mdb->pg_buf;
    const uchar *const pageEnd = pageStart + std::min<ssize_t>(mdb->fmt->pg_size, MDB_PGSIZE);
    for (int c = 0; c < columns; ++c) {
        const MdbField &field = fields[size_t(c)];
        const Source source = m_sources[size_t(c)];
        const auto *bytes = static_cast<const uchar *>(field.value);
        const bool null = field.is_null && !m_boolean[size_t(c)];
        // The value's bytes lie in the current page, unless the row is damaged.
        if (!null && (source == Source::LongInteger || source == Source::Jet4Text)
            && (!bytes || field.siz < 0 || bytes < pageStart || bytes + field.siz > pageEnd
                || (source == Source::LongInteger && field.siz != 4)))
            fail(u"a value of table '%1' cannot be read"_s.arg(m_name));
        m_fields[size_t(c)] = Field{bytes, field.siz, null};
    }
    m_crackedRow = row;
}

std::optional<QString> MdbTable::value(qsizetype row, int column)
{
    QString text;
    if (!valueInto(row, column, text))
        return std::nullopt;
    return text;
}

bool MdbTable::valueInto(qsizetype row, int column, QString &text)
{
    const Source source = m_sources[size_t(column)];
    if (source == Source::Skipped)
        return false;
    if (source == Source::Library) {
        const Stored &stored =
            m_stored[size_t(row * m_storedColumns + m_storedIndex[size_t(column)])];
        if (stored.null)
            return false;
        text = QString::fromUtf8(m_storedBytes.data() + stored.offset, qsizetype(stored.size));
        return true;
    }
    crackRow(row);
    const Field &field = m_fields[size_t(column)];
    if (field.null)
        return false;
    if (source == Source::LongInteger)
        text.setNum(qFromLittleEndian<qint32>(field.bytes));
    else
        jet4Text(field.bytes, field.size, text);
    return true;
}

std::optional<int> MdbTable::wholeNumber(qsizetype row, int column)
{
    if (m_sources[size_t(column)] == Source::LongInteger) {
        crackRow(row);
        const Field &field = m_fields[size_t(column)];
        if (field.null)
            return std::nullopt;
        return qFromLittleEndian<qint32>(field.bytes);
    }
    const std::optional<QString> text = value(row, column);
    bool whole = false;
    const int number = text ? text->toInt(&whole) : 0;
    return whole ? std::optional<int>(number) : std::nullopt;
}

} // namespace platform
