// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace core {

// Lines of text with a check mark each, kept compactly: the text as UTF-8 in
// pages of 1 MiB that never move, and per line one 64-bit word holding its
// page, offset, length and mark. A million lines of twenty characters take
// about 29 MB instead of the 150 MB of a string object each.
class TextStore
{
public:
    TextStore() = default;
    TextStore(TextStore &&) noexcept = default;
    TextStore &operator=(TextStore &&) noexcept = default;

    qsizetype size() const { return qsizetype(m_lines.size()); }
    bool isEmpty() const { return m_lines.empty(); }

    void append(QStringView text, bool checked);
    QString text(qsizetype line) const;
    // The line's UTF-8 bytes, valid until the store changes.
    QByteArrayView utf8(qsizetype line) const;
    bool isChecked(qsizetype line) const { return m_lines[std::size_t(line)] >> 63; }
    void setChecked(qsizetype line, bool checked);

    // Keeps the lines for which `keep` is true, in their order.
    void keepIf(const std::function<bool(qsizetype)> &keep);
    void clear();

    // The memory the store holds, its own bookkeeping included.
    qsizetype bytesUsed() const;

private:
    static constexpr int LengthBits = 20;
    static constexpr int OffsetBits = 20;
    static constexpr int PageBits = 23;
    static constexpr qsizetype PageSize = qsizetype(1) << OffsetBits;
    // A line this long or longer has a page of its own, whose size is its length.
    static constexpr quint64 OwnPage = (quint64(1) << LengthBits) - 1;

    struct Page
    {
        std::unique_ptr<char[]> bytes;
        qsizetype size;
    };

    char *reserve(qsizetype length, quint64 &word);
    void compactIfWasteful();

    std::vector<Page> m_pages;
    qsizetype m_fillPage = -1; // the page new lines go to
    qsizetype m_fill = 0;      // bytes used in it
    qsizetype m_pageBytes = 0; // all pages
    qsizetype m_liveBytes = 0; // the text of the lines kept
    std::deque<quint64> m_lines;
};

} // namespace core
