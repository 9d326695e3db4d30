// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/jet4/Jet4Rows.h"

#include <QByteArray>
#include <QList>

// The pages of a Jet 4 file; used by Jet4Writer.cpp only.
namespace jet4::detail {

constexpr int DataPageFree = PageSize - 14; // free bytes of an empty data page
constexpr int MaxRowsPerPage = 255;
// The pages one usage bitmap page (type 0x05) covers, and how many of them a
// reference usage map can name: the largest file is their product.
constexpr int BitmapPageCapacity = (PageSize - 4) * 8;
constexpr int MostBitmapPages = 17;

inline quint32 rowPointer(int page, int row)
{
    return (quint32(page) << 8) | quint32(row);
}

// Page 0: the database header.
QByteArray headerPage();

// A data page being filled with rows, packed downward from its end.
class DataPage
{
public:
    explicit DataPage(int ownerPage);
    // Whether a row of `length` bytes still fits.
    bool fits(qsizetype length) const
    {
        return m_count < MaxRowsPerPage && int(length) + 2 <= m_free;
    }
    void add(const QByteArray &row);
    bool isEmpty() const { return m_count == 0; }
    const QByteArray &bytes() const { return m_page; }

private:
    QByteArray m_page;
    int m_free = DataPageFree;
    int m_end = PageSize;
    int m_count = 0;
};

// The definition page of a table; empty with `error` set when it does not fit.
QByteArray definitionPage(
    const TableLayout &table, quint32 rowCount, quint32 ownedMap, quint32 freeMap, QString *error);

// A usage map row naming the pages in `pages` directly (all within 512 pages
// from `startPage`).
QByteArray inlineMap(int startPage, const QList<int> &pages);
// A usage map row naming usage bitmap pages: `bitmapPages[j]` covers the pages
// from j x BitmapPageCapacity on (0 for a stretch without pages).
QByteArray referenceMap(const QList<int> &bitmapPages);
// The usage bitmap page covering the pages from `firstCovered` on, marking the
// pages `first` to `last` (inclusive) that fall in its stretch.
QByteArray bitmapPage(int firstCovered, int first, int last);

} // namespace jet4::detail
