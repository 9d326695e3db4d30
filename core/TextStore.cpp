// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/TextStore.h"

#include "core/Failure.h"
#include "core/TextRules.h"

#include <QStringDecoder>

#include <cstring>
#include <new>
#include <utility>

namespace core {

namespace {

constexpr quint64 CheckBit = quint64(1) << 63;

std::size_t pageOfWord(quint64 word)
{
    constexpr int LengthAndOffset = 41;
    return std::size_t((word >> LengthAndOffset) & ((1u << 22) - 1));
}

QString decodeUtf8(QByteArrayView bytes)
{
    // A byte-order mark at the start of a line is part of its text.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless
                               | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

bool isAscii(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Room for one more element, so that the push_back that follows cannot
// throw; the list grows by doubling.
template <typename Vector>
void makeRoomForOne(Vector &vector)
{
    if (vector.size() == vector.capacity())
        vector.reserve(std::max<std::size_t>(8, 2 * vector.capacity()));
}

} // namespace

// Pages grow from 4 KiB to 2 MiB, so that a short list takes little; pages
// of the largest size are aligned for the system's huge pages.
TextStore::Page TextStore::newPage(qsizetype size)
{
    static_assert(std::size_t(PageSize) == HugePageBytes);
    const bool region = size == PageSize;
    void *bytes = region ? regionMemory(HugePageBytes) : heapMemory(std::size_t(size));
    return {std::unique_ptr<char[], detail::FreeMemory>(
                static_cast<char *>(bytes), detail::FreeMemory{region ? HugePageBytes : 0}),
            size};
}

// Adds a page of `size` bytes at the end, or throws and changes nothing.
void TextStore::addPage(qsizetype size)
{
    if (qsizetype(m_pages.size()) >= (qsizetype(1) << PageBits))
        throw Failure(QStringLiteral("Out of memory"));
    makeRoomForOne(m_pages);
    m_pages.push_back(newPage(size));
    m_pageBytes += size;
}

char *TextStore::reserve(qsizetype length, quint64 &word)
{
    // An empty line takes no place on any page.
    if (length == 0) {
        word = 0;
        return nullptr;
    }
    qsizetype page;
    qsizetype offset = 0;
    quint64 lengthField = quint64(length);
    if (quint64(length) >= OwnPage) {
        page = qsizetype(m_pages.size());
        addPage(length);
        lengthField = OwnPage;
    } else {
        if (m_fillPage < 0 || m_fill + length > m_pages[std::size_t(m_fillPage)].size) {
            qsizetype size = m_fillPage < 0
                                 ? FirstPageSize
                                 : std::min(PageSize, 2 * m_pages[std::size_t(m_fillPage)].size);
            while (size < length)
                size *= 2;
            addPage(size);
            // The fill page changes only once its page is there.
            m_fillPage = qsizetype(m_pages.size()) - 1;
            m_fill = 0;
        }
        page = m_fillPage;
        offset = m_fill;
        m_fill += length;
    }
    word = lengthField | quint64(offset) << LengthBits | quint64(page) << (LengthBits + OffsetBits);
    m_liveBytes += length;
    return m_pages[std::size_t(page)].bytes.get() + offset;
}

char *TextStore::bytesOf(quint64 word)
{
    const auto offset = qsizetype((word >> LengthBits) & (PageSize - 1));
    return m_pages[pageOfWord(word)].bytes.get() + offset;
}

void TextStore::append(QStringView text, bool checked)
{
    m_lines.ensureRoom();
    quint64 word = 0;
    if (isAscii(text)) {
        char *to = reserve(text.size(), word);
        for (const QChar c : text)
            *to++ = char(c.unicode());
    } else {
        char *to = reserve(text::utf8Size(text), word);
        text::writeUtf8(text, to);
    }
    m_lines.push_back(checked ? word | CheckBit : word);
}

void TextStore::appendUtf8(QByteArrayView utf8, bool checked)
{
    m_lines.ensureRoom();
    quint64 word = 0;
    if (char *to = reserve(utf8.size(), word))
        std::memcpy(to, utf8.data(), std::size_t(utf8.size()));
    m_lines.push_back(checked ? word | CheckBit : word);
}

void TextStore::beginLine(qsizetype size)
{
    dropLine();
    m_lines.ensureRoom();
    quint64 word = 0;
    reserve(size, word);
    m_open = {word, size, 0};
}

void TextStore::writeLine(QByteArrayView bytes)
{
    if (!hasOpenLine())
        return;
    const qsizetype count = std::min(bytes.size(), m_open.size - m_open.written);
    if (count > 0)
        std::memcpy(bytesOf(m_open.word) + m_open.written, bytes.data(), std::size_t(count));
    m_open.written += count;
}

bool TextStore::endLine(bool checked)
{
    if (!hasOpenLine())
        return false;
    if (m_open.written != m_open.size) {
        dropLine();
        return false;
    }
    m_lines.ensureRoom();
    m_lines.push_back(checked ? m_open.word | CheckBit : m_open.word);
    m_open = {};
    return true;
}

void TextStore::dropLine()
{
    if (!hasOpenLine())
        return;
    // Its bytes stay behind as waste, like those of a removed line.
    m_liveBytes -= m_open.size;
    m_open = {};
}

void TextStore::takeOpenLine(const TextStore &other)
{
    if (!other.hasOpenLine())
        return;
    const OpenLine open = other.m_open;
    beginLine(open.size);
    if (open.written == 0)
        return;
    const Page &page = other.m_pages[pageOfWord(open.word)];
    writeLine(bytesOfWord(open.word, page.bytes.get(), page.size).first(open.written));
}

QByteArrayView TextStore::bytesOfWord(quint64 word, const char *page, qsizetype pageSize)
{
    const quint64 length = word & OwnPage;
    if (length == 0)
        return {};
    const auto offset = qsizetype((word >> LengthBits) & (PageSize - 1));
    const qsizetype size = length == OwnPage ? pageSize : qsizetype(length);
    return {page + offset, size};
}

QByteArrayView TextStore::utf8(qsizetype line) const
{
    static_assert(LengthBits + OffsetBits == 41 && PageBits == 22);
    const quint64 word = m_lines[std::size_t(line)];
    if ((word & OwnPage) == 0)
        return {};
    const Page &p = m_pages[pageOfWord(word)];
    return bytesOfWord(word, p.bytes.get(), p.size);
}

QString TextStore::text(qsizetype line) const
{
    return decodeUtf8(utf8(line));
}

void TextStore::setChecked(qsizetype line, bool checked)
{
    const quint64 word = m_lines[std::size_t(line)];
    m_lines.storeShared(std::size_t(line), checked ? word | CheckBit : word & ~CheckBit);
}

TextStore::View TextStore::view(qsizetype lines) const
{
    View v;
    v.m_lines = m_lines.view(std::size_t(lines));
    v.m_pages.reserve(m_pages.size());
    for (const Page &page : m_pages)
        v.m_pages.emplace_back(page.bytes.get(), page.size);
    return v;
}

QByteArrayView TextStore::View::utf8(qsizetype line) const
{
    const quint64 word = m_lines.loadShared(std::size_t(line));
    if ((word & OwnPage) == 0)
        return {};
    const auto &[bytes, size] = m_pages[pageOfWord(word)];
    return bytesOfWord(word, bytes, size);
}

QString TextStore::View::text(qsizetype line) const
{
    return decodeUtf8(utf8(line));
}

void TextStore::View::readText(qsizetype line, QString &text) const
{
    const QByteArrayView bytes = utf8(line);
    const auto *const begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = begin + bytes.size();
    if (std::any_of(begin, end, [](unsigned char byte) {
            return byte >= 0x80;
        })) {
        text = decodeUtf8(bytes);
        return;
    }
    text.resize(bytes.size());
    std::copy(begin, end, reinterpret_cast<char16_t *>(text.data()));
}

void TextStore::removeLine(qsizetype line)
{
    m_liveBytes -= utf8(line).size();
    m_lines.erase(std::size_t(line));
}

void TextStore::keepIf(const std::function<bool(qsizetype)> &keep)
{
    std::size_t kept = 0;
    for (std::size_t line = 0; line < m_lines.size(); ++line) {
        if (keep(qsizetype(line)))
            m_lines[kept++] = m_lines[line];
        else
            m_liveBytes -= utf8(qsizetype(line)).size();
    }
    m_lines.truncate(kept);
    compactIfWasteful();
}

void TextStore::clear()
{
    *this = TextStore();
}

// Removed lines leave their text behind; once most of the pages are such
// waste, the kept lines move to new pages. Moving needs memory: without it,
// or while a line is being written, the waste stays.
void TextStore::compactIfWasteful()
{
    const qsizetype waste = m_pageBytes - m_liveBytes;
    if (waste < 16 * PageSize || waste < m_pageBytes / 2 || hasOpenLine())
        return;
    try {
        TextStore compacted;
        for (std::size_t line = 0; line < m_lines.size(); ++line) {
            const QByteArrayView bytes = utf8(qsizetype(line));
            compacted.appendUtf8(bytes, m_lines[line] & CheckBit);
        }
        *this = std::move(compacted);
    } catch (const std::bad_alloc &) {
    } catch (const Failure &) {
    }
}

qsizetype TextStore::bytesUsed() const
{
    return m_pageBytes + qsizetype(m_lines.bytes()) + qsizetype(m_pages.capacity() * sizeof(Page));
}

} // namespace core
