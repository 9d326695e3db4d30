// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "lists/ListFiles.h"

#include "core/Dialogs.h"
#include "core/Failure.h"
#include "core/FileExists.h"
#include "core/ItemListModel.h"
#include "core/RegularFile.h"
#include "lists/ListFileReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace lists {

namespace {

// Bytes read and decoded at a time: a list file is never held whole.
constexpr qint64 ChunkSize = qint64(1) << 20;

// The bytes of an open file, no more than it held when it was opened.
class FileSource : public ByteSource
{
public:
    FileSource(QFile &file, const QString &path, qint64 size)
        : m_file(file)
        , m_path(path)
        , m_size(size)
    {}
    qint64 read(char *to, qint64 size) override
    {
        const qint64 count = m_file.read(to, std::min(size, m_size - m_file.pos()));
        if (count < 0)
            fail();
        return count;
    }
    void rewind() override
    {
        if (!m_file.seek(0))
            fail();
    }
    qint64 size() const override { return m_size; }

private:
    [[noreturn]] void fail()
    {
        throw core::Failure(u"Could not read '%1': %2"_s.arg(m_path, m_file.errorString()));
    }
    QFile &m_file;
    QString m_path;
    qint64 m_size;
};

QStringList itemsOf(ByteSource &source, qint64 chunkSize)
{
    QStringList items;
    // A byte-order mark at the start of an item is part of its text, as in
    // the lists.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless
                               | QStringConverter::Flag::ConvertInitialBom);
    readListItems(
        source,
        [&](QByteArrayView utf8) {
            items.append(decoder.decode(utf8));
        },
        chunkSize);
    return items;
}

QString tooLargeTogether(qint64 files)
{
    return u"The %1 chosen list files are larger than %2 together, too large to load at once."_s
        .arg(files)
        .arg(core::megabytesText(MaxListFileSize));
}

} // namespace

QStringList detail::listFileItemsInChunks(QByteArrayView bytes, qint64 chunkSize)
{
    MemorySource source(bytes);
    return itemsOf(source, chunkSize);
}

QStringList listFileItems(QByteArrayView bytes)
{
    MemorySource source(bytes);
    return itemsOf(source, ChunkSize);
}

qint64 listFilesSize(const QStringList &paths)
{
    qint64 bytes = 0;
    for (const QString &path : paths)
        if (core::fileKindOf(path) == core::FileKind::Regular)
            bytes += QFileInfo(path).size();
    return bytes;
}

void refuseLargeLoad(const QStringList &paths)
{
    const qint64 bytes = listFilesSize(paths);
    if (bytes <= MaxListFileSize)
        return;
    if (paths.size() == 1)
        throw core::Failure(u"'%1' is larger than %2, too large for a list file."_s.arg(
            paths.front(), core::megabytesText(MaxListFileSize)));
    throw core::Failure(tooLargeTogether(paths.size()));
}

ListFileLoad::ListFileLoad(core::ItemListModel &list, qint64 bytes, Progress progress)
    : m_list(list)
    , m_bytes(std::max<qint64>(bytes, 0))
    , m_progress(std::move(progress))
{}

bool ListFileLoad::append(const QString &path)
{
    QFile file;
    QString error;
    switch (core::openRegularFile(file, path, &error)) {
    case core::FileKind::Regular:
        break;
    case core::FileKind::Folder:
        throw core::Failure(u"'%1' is a folder, not a list file."_s.arg(path));
    default:
        throw core::Failure(u"'%1' is not a plain file."_s.arg(path));
    }
    if (!file.isOpen())
        throw core::Failure(u"Could not open '%1': %2"_s.arg(path, error));
    const qint64 size = file.size();
    if (size > MaxListFileSize)
        throw core::Failure(u"'%1' is larger than %2, too large for a list file."_s.arg(
            path, core::megabytesText(MaxListFileSize)));
    // The files may have grown since the load was measured.
    if (m_read + size > MaxListFileSize)
        throw core::Failure(tooLargeTogether(m_files + 1));
    ++m_files;

    FileSource source(file, path, size);
    const double total = double(std::max<qint64>(1, std::max(m_bytes, m_read + size)));
    ChunkPulse pulse;
    if (m_progress)
        pulse = [&](double done) {
            return m_progress((double(m_read) + done * double(size)) / total, path, m_items);
        };
    const bool whole = readListItems(
        source,
        [this](QByteArrayView utf8) {
            m_list.appendPendingUtf8(utf8, false);
            ++m_items;
        },
        ChunkSize,
        pulse);
    m_read += size;
    return whole;
}

void loadListFile(core::Dialogs &dialogs, core::ItemListModel &list, const QString &path)
{
    if (!core::fileExists(path)) {
        dialogs.message(u"File not found"_s);
        return;
    }
    // The items read before a failure stay, and are shown with the others.
    ListFileLoad load(list, listFilesSize({path}));
    try {
        load.append(path);
    } catch (...) {
        list.showPending();
        throw;
    }
    list.showPending();
}

namespace {

// `path` with every pair of backslashes made one, left to right.
QString halveBackslashPairs(QStringView path)
{
    QString result;
    result.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i) {
        result.append(path[i]);
        if (path[i] == u'\\' && i + 1 < path.size() && path[i + 1] == u'\\')
            ++i;
    }
    return result;
}

} // namespace

QString normalizeBackslashes(const QString &path)
{
    if (!path.startsWith(u'\\'))
        return halveBackslashPairs(path);
    qsizetype run = 0;
    while (run < path.size() && path[run] == u'\\')
        ++run;
    return u"\\\\"_s + halveBackslashPairs(QStringView(path).sliced(run));
}

QString collapseSlashes(const QString &path)
{
    QString result;
    result.reserve(path.size());
    for (qsizetype i = 0; i < path.size(); ++i)
        if (path[i] != u'/' || i == 0 || path[i - 1] != u'/')
            result.append(path[i]);
    return result;
}

QString selectionText(const QStringList &paths, QChar separator)
{
    if (paths.size() <= 1)
        return paths.value(0);

    // The folder ends at the last separator up to which every path agrees.
    const QString &first = paths.front();
    qsizetype folderEnd = first.lastIndexOf(separator);
    for (const QString &path : paths) {
        while (folderEnd >= 0
               && QStringView(path).left(folderEnd + 1) != QStringView(first).left(folderEnd + 1))
            folderEnd = folderEnd > 0 ? first.lastIndexOf(separator, folderEnd - 1) : -1;
    }

    // Dialogs give absolute paths, which always share a folder; without one
    // the names are the whole paths.
    QString folder;
    if (folderEnd >= 0) {
        folder = first.left(folderEnd);
        if (folder.isEmpty() || folder.endsWith(u':'))
            folder = first.left(folderEnd + 1);
    }
    QString text = folder;
    for (const QString &path : paths) {
        text.append(QChar(0));
        text.append(QStringView(path).sliced(folderEnd + 1));
    }
    return text;
}

} // namespace lists
