// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/TextStore.h"

#include "core/Failure.h"

#include <QStringDecoder>

#include <cstdlib>
#include <cstring>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace core {

namespace {

constexpr quint64 CheckBit = quint64(1) << 63;

bool isAscii(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// UTF-8 has no lone surrogates: each becomes U+FFFD, as decoders do.
QString withoutLoneSurrogates(QStringView text)
{
    QString result = text.toString();
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (!result[i].isSurrogate())
            continue;
        if (result[i].isHighSurrogate() && i + 1 < result.size() && result[i + 1].isLowSurrogate())
            ++i;
        else
            result[i] = QChar::ReplacementCharacter;
    }
    return result;
}

void *heapMemory(std::size_t bytes)
{
    void *memory = std::malloc(bytes);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

// Memory of 2 MiB aligned for the system's huge pages, which a large list
// fills with far fewer page faults; the system is asked to use them.
constexpr std::size_t HugePageBytes = std::size_t(2) << 20;

void *hugePageMemory()
{
    void *memory = std::aligned_alloc(HugePageBytes, HugePageBytes);
    if (!memory)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(memory, HugePageBytes, MADV_HUGEPAGE);
#endif
    return memory;
}

} // namespace

void WordBlocks::addBlock()
{
    const std::size_t block = m_blocks.size();
    if (block < HeapBlocks) {
        void *memory = heapMemory(BlockBytes);
        m_memory.emplace_back(memory);
        m_blocks.push_back(static_cast<quint64 *>(memory));
        return;
    }
    static_assert(RegionBytes == HugePageBytes);
    if ((block - HeapBlocks) % BlocksPerRegion == 0)
        m_memory.emplace_back(hugePageMemory());
    auto *region = static_cast<char *>(m_memory.back().get());
    m_blocks.push_back(
        reinterpret_cast<quint64 *>(region + (block - HeapBlocks) % BlocksPerRegion * BlockBytes));
}

void WordBlocks::truncate(std::size_t size)
{
    m_size = std::min(size, m_size);
    const std::size_t blocks = (m_size + BlockMask) >> BlockBits;
    m_blocks.resize(blocks);
    const std::size_t memory =
        blocks <= HeapBlocks
            ? blocks
            : HeapBlocks + (blocks - HeapBlocks + BlocksPerRegion - 1) / BlocksPerRegion;
    m_memory.resize(memory);
}

std::size_t WordBlocks::bytes() const
{
    const std::size_t heap = std::min(m_memory.size(), HeapBlocks);
    return heap * BlockBytes + (m_memory.size() - heap) * RegionBytes;
}

// Pages grow from 4 KiB to 2 MiB, so that a short list takes little; pages
// of the largest size are aligned for the system's huge pages.
TextStore::Page TextStore::newPage(qsizetype size)
{
    static_assert(std::size_t(PageSize) == HugePageBytes);
    void *bytes = size == PageSize ? hugePageMemory() : heapMemory(std::size_t(size));
    return {std::unique_ptr<char[], detail::FreeMemory>(static_cast<char *>(bytes)), size};
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
        m_pages.push_back(newPage(length));
        m_pageBytes += length;
        lengthField = OwnPage;
    } else {
        if (m_fillPage < 0 || m_fill + length > m_pages[std::size_t(m_fillPage)].size) {
            qsizetype size = m_fillPage < 0
                                 ? FirstPageSize
                                 : std::min(PageSize, 2 * m_pages[std::size_t(m_fillPage)].size);
            while (size < length)
                size *= 2;
            m_fillPage = qsizetype(m_pages.size());
            m_pages.push_back(newPage(size));
            m_pageBytes += size;
            m_fill = 0;
        }
        page = m_fillPage;
        offset = m_fill;
        m_fill += length;
    }
    if (page >= (qsizetype(1) << PageBits))
        throw Failure(QStringLiteral("Out of memory"));
    word = lengthField | quint64(offset) << LengthBits | quint64(page) << (LengthBits + OffsetBits);
    m_liveBytes += length;
    return m_pages[std::size_t(page)].bytes.get() + offset;
}

void TextStore::append(QStringView text, bool checked)
{
    quint64 word = 0;
    if (isAscii(text)) {
        char *to = reserve(text.size(), word);
        for (const QChar c : text)
            *to++ = char(c.unicode());
    } else {
        const QByteArray bytes = withoutLoneSurrogates(text).toUtf8();
        char *to = reserve(bytes.size(), word);
        std::memcpy(to, bytes.constData(), std::size_t(bytes.size()));
    }
    m_lines.push_back(checked ? word | CheckBit : word);
}

QByteArrayView TextStore::utf8(qsizetype line) const
{
    const quint64 word = m_lines[std::size_t(line)];
    const quint64 length = word & OwnPage;
    if (length == 0)
        return {};
    const auto offset = qsizetype((word >> LengthBits) & (PageSize - 1));
    const auto page = std::size_t((word >> (LengthBits + OffsetBits)) & ((1u << PageBits) - 1));
    const Page &p = m_pages[page];
    const qsizetype size = length == OwnPage ? p.size : qsizetype(length);
    return {p.bytes.get() + offset, size};
}

QString TextStore::text(qsizetype line) const
{
    const QByteArrayView bytes = utf8(line);
    // A byte-order mark at the start of a line is part of its text.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringConverter::Flag::Stateless
                               | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

void TextStore::setChecked(qsizetype line, bool checked)
{
    quint64 &word = m_lines[std::size_t(line)];
    word = checked ? word | CheckBit : word & ~CheckBit;
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
// waste, the kept lines move to new pages.
void TextStore::compactIfWasteful()
{
    const qsizetype waste = m_pageBytes - m_liveBytes;
    if (waste < 16 * PageSize || waste < m_pageBytes / 2)
        return;
    TextStore compacted;
    for (std::size_t line = 0; line < m_lines.size(); ++line) {
        const QByteArrayView bytes = utf8(qsizetype(line));
        quint64 word = 0;
        if (char *to = compacted.reserve(bytes.size(), word))
            std::memcpy(to, bytes.data(), std::size_t(bytes.size()));
        compacted.m_lines.push_back(word | (m_lines[line] & CheckBit));
    }
    *this = std::move(compacted);
}

qsizetype TextStore::bytesUsed() const
{
    return m_pageBytes + qsizetype(m_lines.bytes()) + qsizetype(m_pages.capacity() * sizeof(Page));
}

} // namespace core
