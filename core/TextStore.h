// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/BlockArray.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace core {

// Lines of text with a check mark each, kept compactly: the text as UTF-8 in
// pages (of 4 KiB growing to 2 MiB) that never move, and per line one 64-bit word holding its
// page, offset, length and mark. A million lines of twenty characters take
// about 29 MB instead of the 150 MB of a string object each.
//
// An append that cannot get its memory throws (std::bad_alloc, or
// core::Failure "Out of memory" past the most pages) and leaves the store as
// it was, so the next append may succeed.
class TextStore
{
public:
    TextStore() = default;
    TextStore(TextStore &&) noexcept = default;
    TextStore &operator=(TextStore &&) noexcept = default;

    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }

    void append(QStringView text, bool checked);
    // Appends a line given as UTF-8, which must be valid.
    void appendUtf8(QByteArrayView utf8, bool checked);

    // A line written in pieces, for a line too long to be built elsewhere
    // first: beginLine() sets aside `size` bytes, writeLine() fills them in
    // order and endLine() adds the line once all are written (else it drops
    // it and returns false). clear() drops a line begun, as does beginLine();
    // writeLine() and endLine() then do nothing. Valid UTF-8 is the writer's
    // task.
    void beginLine(qsizetype size);
    void writeLine(QByteArrayView bytes);
    bool endLine(bool checked);
    void dropLine();
    // Begins here the line that `other` has open, with the bytes written of
    // it so far, so that its writer goes on here (when this store replaces
    // `other`).
    void takeOpenLine(const TextStore &other);
    bool hasOpenLine() const { return m_open.size >= 0; }
    QString text(qsizetype line) const;
    // The line's UTF-8 bytes, valid until the store changes.
    QByteArrayView utf8(qsizetype line) const;
    bool isChecked(qsizetype line) const { return m_lines[std::size_t(line)] >> 63; }
    // A view being read on another thread sees the mark whole, old or new.
    void setChecked(qsizetype line, bool checked);

    // The first lines as they are now, for reading on another thread while
    // this store only grows and sets marks: appending never moves what is
    // there. Valid while the store lives and is neither cleared nor thinned
    // (keepIf).
    class View
    {
    public:
        View() = default;
        qsizetype size() const { return qsizetype(m_lines.size()); }
        QByteArrayView utf8(qsizetype line) const;
        QString text(qsizetype line) const;
        // The text into `text`, reusing its memory: reading millions of
        // lines one after another allocates nothing per line.
        void readText(qsizetype line, QString &text) const;
        // Asks the processor to fetch what utf8() reads of a line: where it
        // lies, and once that is at hand, its first bytes.
        void fetchPlace(qsizetype line) const
        {
            __builtin_prefetch(&m_lines.at(std::size_t(line)));
        }
        void fetchBytes(qsizetype line) const { __builtin_prefetch(utf8(line).data()); }
        bool isChecked(qsizetype line) const { return m_lines.loadShared(std::size_t(line)) >> 63; }

    private:
        friend class TextStore;
        BlockArray<quint64>::View m_lines;
        std::vector<std::pair<const char *, qsizetype>> m_pages; // bytes, size
    };
    View view(qsizetype lines) const;

    // Removes one line, moving the later ones up; its text stays behind as
    // waste until the store is next thinned.
    void removeLine(qsizetype line);
    // Keeps the lines for which `keep` is true, in their order.
    void keepIf(const std::function<bool(qsizetype)> &keep);
    void clear();

    // The memory the store holds, its own bookkeeping included.
    qsizetype bytesUsed() const;

private:
    static constexpr int LengthBits = 20;
    static constexpr int OffsetBits = 21;
    static constexpr int PageBits = 22;
    static constexpr qsizetype PageSize = qsizetype(1) << OffsetBits;
    static constexpr qsizetype FirstPageSize = 4096;
    // A line this long or longer has a page of its own, whose size is its length.
    static constexpr quint64 OwnPage = (quint64(1) << LengthBits) - 1;

    struct Page
    {
        std::unique_ptr<char[], detail::FreeMemory> bytes;
        qsizetype size;
    };
    static QByteArrayView bytesOfWord(quint64 word, const char *page, qsizetype pageSize);
    static Page newPage(qsizetype size);

    char *reserve(qsizetype length, quint64 &word);
    void addPage(qsizetype size);
    char *bytesOf(quint64 word);
    void compactIfWasteful();

    // The line between beginLine() and endLine(); size -1 when none.
    struct OpenLine
    {
        quint64 word = 0;
        qsizetype size = -1;
        qsizetype written = 0;
    };

    std::vector<Page> m_pages;
    qsizetype m_fillPage = -1; // the page new lines go to
    qsizetype m_fill = 0;      // bytes used in it
    qsizetype m_pageBytes = 0; // all pages
    qsizetype m_liveBytes = 0; // the text of the lines kept
    BlockArray<quint64> m_lines;
    OpenLine m_open;
};

} // namespace core
