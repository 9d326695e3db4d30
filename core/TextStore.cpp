// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/TextStore.h"

#include "core/Failure.h"
#include "core/TextRules.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace core {

namespace {

constexpr quint64 CheckBit = quint64(1) << 63;

// The allocations left before they fail (-1: no failures), and those asked
// for meanwhile; see detail::FailingAllocations.
thread_local int allocationsLeft = -1;
thread_local int allocationAttempts = 0;

void failIfArranged()
{
    ++allocationAttempts;
    if (allocationsLeft == 0)
        throw std::bad_alloc();
    if (allocationsLeft > 0)
        --allocationsLeft;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

void *heapMemory(std::size_t bytes)
{
    failIfArranged();
    void *memory = std::malloc(bytes);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

// Memory of 2 MiB aligned for the system's huge pages, which a large list
// fills with far fewer page faults; the system is asked to use them. It is
// mapped on its own and takes exactly its size of address space (the heap
// would map twice that to align it, which a process with an address-space
// limit runs out of long before its memory).
constexpr std::size_t HugePageBytes = std::size_t(2) << 20;

void *hugePageMemory()
{
    failIfArranged();
#ifdef Q_OS_LINUX
    void *mapped = ::mmap(
        nullptr, 2 * HugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    // The aligned 2 MiB stay; the ends before and after go back.
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + HugePageBytes - 1) & ~(HugePageBytes - 1);
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    if (start + 2 * HugePageBytes > aligned + HugePageBytes)
        ::munmap(reinterpret_cast<void *>(aligned + HugePageBytes),
                 start + HugePageBytes - aligned);
    void *memory = reinterpret_cast<void *>(aligned);
#else
    void *memory = std::aligned_alloc(HugePageBytes, HugePageBytes);
    if (!memory)
        throw std::bad_alloc();
#endif
#ifdef MADV_HUGEPAGE
    ::madvise(memory, HugePageBytes, MADV_HUGEPAGE);
#endif
    return memory;
}

using RegionPointer = std::unique_ptr<void, detail::FreeMemory>;

RegionPointer newRegion()
{
    return RegionPointer(hugePageMemory(), detail::FreeMemory{true});
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

namespace detail {

void FreeMemory::operator()(void *memory) const
{
#ifdef Q_OS_LINUX
    if (region) {
        ::munmap(memory, HugePageBytes);
        return;
    }
#endif
    std::free(memory);
}

FailingAllocations::FailingAllocations(int succeeding)
    : m_previous(std::exchange(allocationsLeft, succeeding))
    , m_previousAttempts(std::exchange(allocationAttempts, 0))
{}

FailingAllocations::~FailingAllocations()
{
    allocationsLeft = m_previous;
    allocationAttempts += m_previousAttempts;
}

int FailingAllocations::attempts() const
{
    return allocationAttempts;
}

} // namespace detail

void WordBlocks::addBlock()
{
    // The lists get their room first: once the memory is there, nothing
    // else can fail.
    makeRoomForOne(m_blocks);
    makeRoomForOne(m_memory);
    const std::size_t block = m_blocks.size();
    if (block < HeapBlocks) {
        std::unique_ptr<void, detail::FreeMemory> memory(heapMemory(BlockBytes));
        m_blocks.push_back(static_cast<quint64 *>(memory.get()));
        m_memory.push_back(std::move(memory));
        return;
    }
    static_assert(RegionBytes == HugePageBytes);
    if ((block - HeapBlocks) % BlocksPerRegion == 0)
        m_memory.push_back(newRegion());
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
    const bool region = size == PageSize;
    void *bytes = region ? hugePageMemory() : heapMemory(std::size_t(size));
    return {std::unique_ptr<char[], detail::FreeMemory>(static_cast<char *>(bytes),
                                                        detail::FreeMemory{region}),
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
    const auto page = std::size_t((word >> (LengthBits + OffsetBits)) & ((1u << PageBits) - 1));
    return m_pages[page].bytes.get() + offset;
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
