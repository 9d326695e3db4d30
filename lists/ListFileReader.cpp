// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "lists/ListFileReader.h"

#include "core/TextRules.h"
#include "lists/ListFiles.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
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
        return core::text::wholeUtf8Length(bytes);
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

// The items of decoded text, given as UTF-8 piece by piece: CR LF, CR and LF
// each end a line. A line that began in an earlier piece is kept until it
// ends.
class ItemCollector
{
public:
    explicit ItemCollector(const ItemSink &sink)
        : m_sink(sink)
    {}

    void add(QByteArrayView utf8)
    {
        const char *bytes = utf8.data();
        const qsizetype size = utf8.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size; ++i) {
            const char byte = bytes[i];
            if (byte != '\r' && byte != '\n')
                continue;
            const bool secondHalf = byte == '\n' && (i > 0 ? bytes[i - 1] == '\r' : m_afterCr);
            if (!secondHalf) {
                if (m_line.isEmpty()) {
                    m_sink(QByteArrayView(bytes + start, i - start));
                } else {
                    m_line.append(bytes + start, i - start);
                    m_sink(m_line);
                    m_line.clear();
                }
            }
            start = i + 1;
        }
        if (size > 0)
            m_afterCr = bytes[size - 1] == '\r';
        if (start < size)
            m_line.append(bytes + start, size - start);
    }

    void finish()
    {
        if (!m_line.isEmpty())
            m_sink(std::exchange(m_line, QByteArray()));
    }

private:
    const ItemSink &m_sink;
    QByteArray m_line; // a line that began in an earlier piece
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

// Reads `source` a chunk at a time, giving each piece of whole characters
// (held bytes of a cut character go with the next chunk) to `piece`, which
// returns false to stop. `skip` bytes at the start are passed over. Returns
// false when stopped.
bool readPieces(ByteSource &source,
                Encoding encoding,
                int skip,
                qint64 chunkSize,
                const std::function<bool(QByteArrayView piece, bool end)> &piece)
{
    QByteArray buffer(chunkSize + 8, Qt::Uninitialized);
    qsizetype held = 0; // bytes of a character cut at the end of the last chunk
    for (;;) {
        const qint64 count = source.read(buffer.data() + held, chunkSize);
        const bool end = count == 0;
        QByteArrayView bytes(buffer.constData(), held + count);
        const qsizetype skipped = std::min<qsizetype>(skip, bytes.size());
        bytes = bytes.sliced(skipped);
        skip -= int(skipped);
        const qsizetype whole = end ? bytes.size() : wholeCharacters(encoding, bytes);
        if (!piece(bytes.first(whole), end))
            return false;
        if (end)
            return true;
        held = bytes.size() - whole;
        if (held > 0)
            std::memmove(buffer.data(), bytes.data() + whole, size_t(held));
    }
}

// Whether the whole of `source` is valid UTF-8, or nullopt when stopped.
std::optional<bool>
isUtf8Throughout(ByteSource &source, qint64 chunkSize, const std::function<bool(qint64)> &pulse)
{
    QStringDecoder decoder = decoderFor(Encoding::Utf8);
    bool valid = true;
    qint64 position = 0;
    QString scratch; // the text itself is not kept
    const bool finished =
        readPieces(source, Encoding::Utf8, 0, chunkSize, [&](QByteArrayView piece, bool end) {
            scratch.resize(decoder.requiredSpace(piece.size()));
            decoder.appendToBuffer(scratch.data(), piece);
            position += piece.size();
            valid = !decoder.hasError();
            return valid && (end || !pulse || pulse(position));
        });
    if (!finished && valid)
        return std::nullopt;
    return valid;
}

// Decodes the whole source into `items`. Returns false when stopped.
bool decodeSource(ByteSource &source,
                  Encoding encoding,
                  int skip,
                  ItemCollector &items,
                  qint64 chunkSize,
                  const std::function<bool(qint64)> &pulse)
{
    QStringDecoder decoder = decoderFor(encoding);
    const bool hasCodec = decoder.isValid();
    QChar pendingHigh;
    QByteArray utf8;
    qint64 position = 0;
    return readPieces(source, encoding, skip, chunkSize, [&](QByteArrayView piece, bool end) {
        QString text;
        if (encoding == Encoding::Utf32LE || encoding == Encoding::Utf32BE)
            text = decodeUnits(piece, 4, encoding == Encoding::Utf32LE);
        else if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE)
            text = decodeUnits(piece, 2, encoding == Encoding::Utf16LE);
        else if (hasCodec)
            text = decoder.decode(piece);
        else
            text = detail::decodeWindows1252Table(piece);
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
        core::text::replaceLoneSurrogates(text);
        text = std::move(text).toUpper();
        utf8.resize(core::text::utf8Size(text));
        core::text::writeUtf8(text, utf8.data());
        items.add(utf8);
        position += piece.size();
        return end || !pulse || pulse(position);
    });
}

} // namespace

qint64 MemorySource::read(char *to, qint64 size)
{
    const qint64 count = std::min(size, qint64(m_bytes.size() - m_at));
    if (count > 0)
        std::memcpy(to, m_bytes.data() + m_at, size_t(count));
    m_at += count;
    return count;
}

bool readListItems(ByteSource &source,
                   const ItemSink &sink,
                   qint64 chunkSize,
                   const ChunkPulse &pulse)
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
    Encoding encoding = mark.encoding;
    // Without a mark, a first pass tells UTF-8 from Windows-1252: it takes
    // a quarter of the progress.
    const bool probe = encoding == Encoding::Utf8Probe;
    const double size = double(std::max<qint64>(1, source.size()));
    const double probeShare = probe ? 0.25 : 0.0;
    // The share of the reading done at a position of a pass.
    const auto pulseFrom = [&](double first, double share) -> std::function<bool(qint64)> {
        if (!pulse)
            return {};
        return [&pulse, first, share, size](qint64 position) {
            return pulse(first + share * double(position) / size);
        };
    };
    if (probe) {
        const std::optional<bool> utf8 =
            isUtf8Throughout(source, chunkSize, pulseFrom(0, probeShare));
        if (!utf8)
            return false;
        encoding = *utf8 ? Encoding::Utf8 : Encoding::Windows1252;
        source.rewind();
    }
    ItemCollector items(sink);
    const bool whole = decodeSource(
        source, encoding, mark.size, items, chunkSize, pulseFrom(probeShare, 1 - probeShare));
    if (whole)
        items.finish();
    return whole;
}

} // namespace lists
