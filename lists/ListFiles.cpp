// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "ListFiles.h"

#include "Dialogs.h"
#include "Failure.h"
#include "FileExists.h"
#include "ItemListModel.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace lists {

namespace detail {

QString decodeWindows1252Table(QByteArrayView bytes)
{
    // 0x80 to 0x9F; the five unassigned codes stay C1 controls.
    static constexpr std::array<char16_t, 32> High = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = QChar(code >= 0x80 && code < 0xA0 ? High[code - 0x80] : char16_t(code));
    }
    return text;
}

} // namespace detail

namespace {

QString decodeListFile(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    QStringDecoder windows1252("windows-1252", QStringDecoder::Flag::Stateless);
    if (windows1252.isValid())
        return windows1252.decode(bytes);
    return detail::decodeWindows1252Table(bytes);
}

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// The items of a decoded list file.
QStringList itemsOfText(QString text)
{
    text.remove(QChar(0));
    text = std::move(text).toUpper();

    const QChar *chars = text.constData();
    const qsizetype size = text.size();
    qsizetype lines = 0;
    for (qsizetype i = 0; i < size; ++i)
        if (isLineEnd(chars[i]) && !(chars[i] == u'\n' && i > 0 && chars[i - 1] == u'\r'))
            ++lines;

    QStringList items;
    items.reserve(lines + 1);
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (!isLineEnd(chars[i]))
            continue;
        items.append(QString(chars + start, i - start));
        if (chars[i] == u'\r' && i + 1 < size && chars[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        items.append(QString(chars + start, size - start));
    return items;
}

} // namespace

QStringList listFileItems(QByteArrayView bytes)
{
    return itemsOfText(decodeListFile(bytes));
}

QStringList readListFile(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        throw core::Failure(u"'%1' is a folder, not a list file."_s.arg(path));
    if (!info.isFile())
        throw core::Failure(u"'%1' is not a plain file."_s.arg(path));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(u"Could not open '%1': %2"_s.arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw core::Failure(u"Could not read '%1': %2"_s.arg(path, file.errorString()));
    file.close();
    QString text = decodeListFile(bytes);
    bytes = QByteArray(); // the bytes go before the items come
    return itemsOfText(std::move(text));
}

void loadListFile(core::Dialogs &dialogs, core::ItemListModel &list, const QString &path)
{
    if (!core::fileExists(path)) {
        dialogs.message(u"File not found"_s);
        return;
    }
    list.appendBatch(readListFile(path), false);
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
