// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/MdbDatabase.h"

#include "core/Failure.h"
#include "core/RegularFile.h"
#include "platform/JetFileCheck.h"
#include "platform/MappedFile.h"
#include "platform/MdbTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace platform {

using core::Failure;
using core::ObjectState;

namespace {

// The rows of one table; their values are read as the cursor reaches them.
class MdbRecordSet : public core::RecordSet
{
public:
    MdbRecordSet(std::unique_ptr<MdbTable> table, std::shared_ptr<const OpenJetFile> file)
        : m_columns(table->columnCount())
        , m_table(std::move(table))
        , m_file(std::move(file))
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
        return m_table->names().at(position);
    }

    std::optional<QString> field(int position) const override
    {
        requireCurrentRow(position);
        std::optional<QString> value = m_table->value(m_row, position);
        requireFileUnchanged();
        return value;
    }

    bool fieldInto(int position, QString &text) const override
    {
        requireCurrentRow(position);
        const bool value = m_table->valueInto(m_row, position, text);
        requireFileUnchanged();
        return value;
    }

    std::optional<int> fieldWholeNumber(int position) const override
    {
        requireCurrentRow(position);
        const std::optional<int> value = m_table->wholeNumber(m_row, position);
        requireFileUnchanged();
        return value;
    }

    void moveNext() override
    {
        requireOpen();
        if (m_row >= rowCount())
            throw core::Failure(core::dberror::noCurrentRecord());
        ++m_row;
        if (m_row == rowCount())
            m_file->requireUnchanged();
    }

    void close() override
    {
        requireOpen();
        m_open = false;
        m_table.reset();
    }

private:
    void requireOpen() const
    {
        if (!m_open)
            throw core::Failure(core::dberror::closedObject());
    }
    void requireCurrentRow(int position) const
    {
        requireOpen();
        if (position < 0 || position >= m_columns)
            throw core::Failure(core::dberror::noSuchField());
        if (m_row >= rowCount())
            throw core::Failure(core::dberror::noCurrentRecord());
    }
    // A value read from a page the file no longer had is no value.
    void requireFileUnchanged() const
    {
        if (m_file->faulted())
            m_file->requireUnchanged();
    }
    qsizetype rowCount() const { return m_table->rowCount(); }

    int m_columns;
    std::unique_ptr<MdbTable> m_table;
    std::shared_ptr<const OpenJetFile> m_file;
    qsizetype m_row = 0;
    bool m_open = true;
};

} // namespace

struct MdbConnection::Handle
{
    std::shared_ptr<OpenJetFile> file;
    QList<std::pair<QString, quint32>> tables; // name and definition page
};

namespace {

constexpr quint32 CatalogPage = 2;
constexpr qint64 ObjectTypeTable = 1;

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

std::unique_ptr<QFile> openDictionaryFile(const QString &path)
{
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
    return file;
}

void MdbConnection::open(const QString &connectionText)
{
    if (m_handle)
        throw core::Failure(core::dberror::openObject());
    const QString path = QFileInfo(core::dataSourceOf(connectionText)).absoluteFilePath();
    openFile(openDictionaryFile(path), path);
}

void MdbConnection::openFile(std::unique_ptr<QFile> file, const QString &path)
{
    if (m_handle)
        throw core::Failure(core::dberror::openObject());
    const QString shown = QDir::toNativeSeparators(path);
    // The header is checked before anything else is read.
    if (!file->seek(0))
        throw core::Failure(u"Cannot read the file '%1': %2."_s.arg(shown, file->errorString()));
    const QByteArray head = file->read(JetFile::HeaderSize);
    if (file->error() != QFileDevice::NoError)
        throw core::Failure(u"Cannot read the file '%1': %2."_s.arg(shown, file->errorString()));
    if (!JetFile::recognizedHeader(head))
        throw core::Failure(u"Unrecognized database format '%1'."_s.arg(shown));
    auto mapped = std::make_unique<MappedFile>(*file);
    if (!mapped->isValid())
        throw core::Failure(u"Cannot read the file '%1': %2."_s.arg(shown, mapped->errorString()));
    auto opened = std::make_shared<OpenJetFile>();
    opened->contents = mapped->bytes();
    opened->mapped = std::move(mapped);
    openFile(std::move(opened), path);
}

void MdbConnection::openContents(const QByteArray &contents, const QString &path)
{
    if (m_handle)
        throw core::Failure(core::dberror::openObject());
    auto opened = std::make_shared<OpenJetFile>();
    opened->contents = contents;
    openFile(std::move(opened), path);
}

void MdbConnection::openFile(std::shared_ptr<OpenJetFile> file, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const JetFile jet(file->contents);
    if (!jet.recognized())
        throw core::Failure(u"Unrecognized database format '%1'."_s.arg(shown));

    file->path = path;
    // fmemopen reads the buffer in place; the array is never written.
    file->mdb = mdb_open_buffer(
        const_cast<char *>(file->contents.constData()), size_t(file->contents.size()), MDB_NOFLAGS);
    if (!file->mdb)
        throw core::Failure(u"Unrecognized database format '%1'."_s.arg(shown));
    auto handle = std::make_unique<Handle>();
    handle->file = file;

    // The catalog is read like any table, without the property blobs that
    // libmdb's own catalog reader parses (and loops on when they are damaged).
    MdbTable catalog(file, CatalogPage, u"MSysObjects"_s, true);
    const int id = catalog.column(u"Id"_s);
    const int name = catalog.column(u"Name"_s);
    const int type = catalog.column(u"Type"_s);
    if (id < 0 || name < 0 || type < 0)
        throw core::Failure(damagedDatabase(path, u"its table catalog lacks a column"_s));
    for (qsizetype row = 0; row < catalog.rowCount(); ++row) {
        const auto value = [&](int column) {
            return catalog.value(row, column).value_or(QString());
        };
        if ((value(type).toLongLong() & 0x7F) != ObjectTypeTable)
            continue;
        const quint32 page = quint32(value(id).toLongLong() & 0xFFFFFF);
        handle->tables.append({value(name), page});
    }
    file->requireUnchanged();
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
            auto table = std::make_unique<MdbTable>(m_handle->file, page, tableName, false);
            m_handle->file->requireUnchanged();
            return std::make_unique<MdbRecordSet>(std::move(table), m_handle->file);
        }
    }
    throw core::Failure(core::dberror::tableNotFound(name));
}

} // namespace platform
