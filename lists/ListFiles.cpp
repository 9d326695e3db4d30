// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "lists/ListFiles.h"

#include "core/Dialogs.h"
#include "core/Failure.h"
#include "core/FileExists.h"
#include "core/ItemListModel.h"
#include "core/RegularFile.h"
#include "core/TextRules.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

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

// Bytes read and decoded at a time: a list file is never held whole.
constexpr qint64 ChunkSize = qint64(1) << 20;

enum class Encoding { Utf8Probe, Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE, Windows1252 };

struct ByteOrderMark
{
    Encoding encoding;
    int size;
};

ByteOrderMark byteOrderMarkOf(QByteArrayView head)
{
    // UTF-32 LE before UTF-16 LE: its mark begins with the same two bytes.
    if (head.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)))
        return {Encoding::Utf32LE, 4};
    if (head.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        return {Encoding::Utf32BE, 4};
    if (head.startsWith("\xEF\xBB\xBF"))
        return {Encoding::Utf8, 3};
    if (head.startsWith("\xFF\xFE"))
        return {Encoding::Utf16LE, 2};
    if (head.startsWith("\xFE\xFF"))
        return {Encoding::Utf16BE, 2};
    return {Encoding::Utf8Probe, 0};
}

// The leading part of `bytes` that holds whole characters; the rest waits for
// the next chunk (at the end of the file it is decoded as it is).
qsizetype wholeCharacters(Encoding encoding, QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    switch (encoding) {
    case Encoding::Utf8Probe:
    case Encoding::Utf8:
        // A lead byte among the last three whose sequence runs past the end.
        for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
            const auto byte = quint8(bytes[size - back]);
            if ((byte & 0xC0) == 0x80)
                continue;
            const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? size - back : size;
        }
        return size;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return size & ~qsizetype(1);
    case Encoding::Utf32LE:
    case Encoding::Utf32BE:
        return size & ~qsizetype(3);
    case Encoding::Windows1252:
        break;
    }
    return size;
}

QStringDecoder decoderFor(Encoding encoding)
{
    // Stateless pieces, and a U+FEFF inside the text stays: the mark at the
    // file's start is dropped before decoding.
    const auto flags = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
    switch (encoding) {
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
    case Encoding::Utf32LE:
    case Encoding::Utf32BE:
        return QStringDecoder(); // decodeUnits below
    case Encoding::Windows1252:
        return QStringDecoder("windows-1252", flags);
    case Encoding::Utf8Probe:
    case Encoding::Utf8:
        break;
    }
    return QStringDecoder(QStringDecoder::Utf8, flags);
}

// The items of decoded, upper-cased text given piece by piece, its NUL
// characters dropped already: CR LF, CR and LF each end a line.
class ItemCollector
{
public:
    void add(QStringView text)
    {
        const QChar *chars = text.data();
        const qsizetype size = text.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t unit = chars[i].unicode();
            if (unit == u'\n' && m_afterCr) {
                m_afterCr = false;
                start = i + 1;
                continue;
            }
            m_afterCr = unit == u'\r';
            if (unit != u'\r' && unit != u'\n')
                continue;
            if (m_line.isEmpty())
                m_items.append(QString(chars + start, i - start));
            else
                endLine(chars + start, i - start);
            start = i + 1;
        }
        appendRun(chars + start, size - start);
    }

    QStringList finish()
    {
        if (!m_line.isEmpty())
            endLine(nullptr, 0);
        return std::move(m_items);
    }

private:
    void appendRun(const QChar *run, qsizetype size)
    {
        if (size > 0)
            m_line.append(run, size);
    }
    void endLine(const QChar *run, qsizetype size)
    {
        appendRun(run, size);
        m_items.append(QString(m_line.constData(), m_line.size())); // its own size
        m_line.clear();
    }

    QStringList m_items;
    QString m_line; // a line that began in an earlier piece
    bool m_afterCr = false;
};

// UTF-16 and UTF-32 a unit at a time, the same wherever the text is cut
// (Qt's decoders are not): a UTF-16 unit stands as it is (a lone surrogate is
// replaced once the pieces are joined), a UTF-32 unit that is no Unicode
// scalar value is U+FFFD, and so is a part of a unit at the end.
QString decodeUnits(QByteArrayView bytes, int width, bool littleEndian)
{
    QString text;
    text.reserve(bytes.size() / width + 1);
    qsizetype at = 0;
    for (; at + width <= bytes.size(); at += width) {
        char32_t code = 0;
        for (int i = 0; i < width; ++i)
            code |= char32_t(quint8(bytes[at + i])) << (8 * (littleEndian ? i : width - 1 - i));
        if (width == 2) {
            text.append(QChar(char16_t(code)));
            continue;
        }
        const bool scalar = code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        text.append(
            QStringView(QChar::fromUcs4(scalar ? code : char32_t(QChar::ReplacementCharacter))));
    }
    if (at < bytes.size())
        text.append(QChar::ReplacementCharacter);
    return text;
}

// Where list-file bytes come from: a file or bytes in memory.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `to`; 0 at the end. Throws when it cannot read.
    virtual qint64 read(char *to, qint64 size) = 0;
    virtual void rewind() = 0;
};

class MemorySource : public ByteSource
{
public:
    explicit MemorySource(QByteArrayView bytes)
        : m_bytes(bytes)
    {}
    qint64 read(char *to, qint64 size) override
    {
        const qint64 count = std::min(size, qint64(m_bytes.size() - m_at));
        if (count > 0)
            std::memcpy(to, m_bytes.data() + m_at, size_t(count));
        m_at += count;
        return count;
    }
    void rewind() override { m_at = 0; }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

class FileSource : public ByteSource
{
public:
    FileSource(QFile &file, const QString &path)
        : m_file(file)
        , m_path(path)
    {}
    qint64 read(char *to, qint64 size) override
    {
        const qint64 count = m_file.read(to, size);
        if (count < 0)
            fail();
        return count;
    }
    void rewind() override
    {
        if (!m_file.seek(0))
            fail();
    }

private:
    [[noreturn]] void fail()
    {
        throw core::Failure(u"Could not read '%1': %2"_s.arg(m_path, m_file.errorString()));
    }
    QFile &m_file;
    QString m_path;
};

// Decodes the whole source into `items`; false when the UTF-8 probe met a
// sequence that is not UTF-8 (the items are then incomplete).
bool decodeSource(
    ByteSource &source, Encoding encoding, int skip, ItemCollector &items, qint64 chunkSize)
{
    QStringDecoder decoder = decoderFor(encoding);
    const bool hasCodec = decoder.isValid();
    QByteArray buffer(chunkSize + 8, Qt::Uninitialized);
    qsizetype held = 0; // bytes of a character cut at the end of the last chunk
    QChar pendingHigh;
    for (;;) {
        const qint64 count = source.read(buffer.data() + held, chunkSize);
        const bool end = count == 0;
        QByteArrayView bytes(buffer.constData(), held + count);
        const qsizetype skipped = std::min<qsizetype>(skip, bytes.size());
        bytes = bytes.sliced(skipped);
        skip -= int(skipped);
        const qsizetype whole = end ? bytes.size() : wholeCharacters(encoding, bytes);
        const QByteArrayView piece = bytes.first(whole);
        QString text;
        if (encoding == Encoding::Utf32LE || encoding == Encoding::Utf32BE)
            text = decodeUnits(piece, 4, encoding == Encoding::Utf32LE);
        else if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE)
            text = decodeUnits(piece, 2, encoding == Encoding::Utf16LE);
        else if (hasCodec)
            text = decoder.decode(piece);
        else
            text = detail::decodeWindows1252Table(piece);
        if (encoding == Encoding::Utf8Probe && decoder.hasError())
            return false;
        // NULs go before upper-casing (they may stand inside a surrogate
        // pair), and a high surrogate at a seam waits for the next piece, so
        // that upper-casing a piece at a time equals upper-casing the whole.
        text.remove(QChar(0));
        if (!pendingHigh.isNull())
            text.prepend(std::exchange(pendingHigh, QChar()));
        if (!end && !text.isEmpty() && text.back().isHighSurrogate()) {
            pendingHigh = text.back();
            text.chop(1);
        }
        if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE)
            core::text::replaceLoneSurrogates(text);
        items.add(std::move(text).toUpper());
        if (end)
            return true;
        held = bytes.size() - whole;
        if (held > 0)
            std::memmove(buffer.data(), bytes.data() + whole, size_t(held));
    }
}

QStringList itemsOfSource(ByteSource &source, qint64 chunkSize = ChunkSize)
{
    char head[4];
    qint64 headSize = 0;
    while (headSize < 4) {
        const qint64 count = source.read(head + headSize, 4 - headSize);
        if (count == 0)
            break;
        headSize += count;
    }
    source.rewind();
    const ByteOrderMark mark = byteOrderMarkOf(QByteArrayView(head, headSize));
    {
        ItemCollector items;
        if (decodeSource(source, mark.encoding, mark.size, items, chunkSize))
            return items.finish();
    }
    // Not UTF-8 throughout: the whole file is Windows-1252.
    source.rewind();
    ItemCollector items;
    decodeSource(source, Encoding::Windows1252, 0, items, chunkSize);
    return items.finish();
}

} // namespace

QStringList detail::listFileItemsInChunks(QByteArrayView bytes, qint64 chunkSize)
{
    MemorySource source(bytes);
    return itemsOfSource(source, chunkSize);
}

QStringList listFileItems(QByteArrayView bytes)
{
    MemorySource source(bytes);
    return itemsOfSource(source);
}

QStringList readListFile(const QString &path)
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
    if (file.size() > MaxListFileSize)
        throw core::Failure(u"'%1' is larger than %2, too large for a list file."_s.arg(
            path, core::megabytesText(MaxListFileSize)));
    FileSource source(file, path);
    return itemsOfSource(source);
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
