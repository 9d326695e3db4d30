// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/jet4/Jet4Pages.h"

#include <QDate>

#include <array>
#include <cmath>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace jet4::detail {

namespace {

constexpr int TdefHeaderLength = 63;
constexpr int ColumnBlockLength = 25;
constexpr int MapRowLength = 1 + 4 + 64;
constexpr quint32 Magic1625 = 1625;

void rc4(QByteArray &data, int from, int length, const std::array<quint8, 4> &key)
{
    std::array<quint8, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[from + n] = char(quint8(data[from + n]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

} // namespace

QByteArray headerPage()
{
    // A fixed creation date keeps the output reproducible.
    const double created = double(QDate(1899, 12, 30).daysTo(QDate(2021, 8, 31)));
    QByteArray page(PageSize, '\0');
    put32(page, 0x00, 0x100);
    const QByteArray signature("Standard Jet DB");
    page.replace(0x04, signature.size(), signature);
    put32(page, 0x14, 1);
    put16(page, 0x3C, 1252);
    put32(page, 0x3E, 0);
    const qint32 day = qint32(std::floor(created));
    for (int i = 0; i < 10; ++i)
        put32(page, 0x42 + 4 * i, quint32(day));
    put32(page, 0x6E, 0x0409);
    quint64 bits = 0;
    std::memcpy(&bits, &created, sizeof bits);
    for (int i = 0; i < 8; ++i)
        page[0x72 + i] = char((bits >> (8 * i)) & 0xFF);
    rc4(page, 0x18, 128, {0xC7, 0xDA, 0x39, 0x6B});
    return page;
}

DataPage::DataPage(int ownerPage)
    : m_page(PageSize, '\0')
{
    put8(m_page, 0, 0x01);
    put8(m_page, 1, 0x01);
    put32(m_page, 4, quint32(ownerPage));
    put16(m_page, 2, quint16(m_free));
}

void DataPage::add(const QByteArray &row)
{
    m_end -= int(row.size());
    m_page.replace(m_end, row.size(), row);
    put16(m_page, 14 + 2 * m_count, quint16(m_end));
    m_free -= int(row.size()) + 2;
    ++m_count;
    put16(m_page, 2, quint16(m_free));
    put16(m_page, 12, quint16(m_count));
}

QByteArray definitionPage(
    const TableLayout &t, quint32 rowCount, quint32 ownedMap, quint32 freeMap, QString *error)
{
    int namesLength = 0;
    for (const Layout &c : t.columns)
        namesLength += 2 + 2 * int(c.name.size());
    const int tdefLength =
        TdefHeaderLength + ColumnBlockLength * int(t.columns.size()) + namesLength + 2;
    if (tdefLength + 8 > PageSize) {
        *error = u"The definition of table '%1' does not fit in one page."_s.arg(t.name);
        return {};
    }
    QByteArray page(PageSize, '\0');
    put8(page, 0, 0x02);
    put8(page, 1, 0x01);
    put16(page, 2, quint16(PageSize - tdefLength - 8));
    put32(page, 8, quint32(tdefLength));
    put32(page, 12, Magic1625);
    put32(page, 16, rowCount);
    put8(page, 24, 0x01);
    put8(page, 40, t.tableType);
    put16(page, 41, quint16(t.columns.size()));
    put16(page, 43, quint16(t.varCount));
    put16(page, 45, quint16(t.columns.size()));
    put32(page, 55, ownedMap);
    put32(page, 59, freeMap);
    int at = TdefHeaderLength;
    for (const Layout &c : t.columns) {
        put8(page, at, c.type);
        put32(page, at + 1, Magic1625);
        put16(page, at + 5, quint16(c.number));
        put16(page, at + 7, quint16(c.fixed() ? 0 : c.varIndex));
        put16(page, at + 9, quint16(c.number));
        if (c.type == TypeText) {
            put32(page, at + 11, 0x0409);
            put8(page, at + 16, 0x01);
        }
        put8(page, at + 15, c.fixed() ? 0x03 : 0x02);
        put16(page, at + 21, quint16(c.fixed() ? c.fixedOffset : 0));
        put16(page, at + 23, quint16(c.byteLength));
        at += ColumnBlockLength;
    }
    for (const Layout &c : t.columns) {
        put16(page, at, quint16(2 * c.name.size()));
        at += 2;
        for (QChar ch : c.name) {
            put16(page, at, ch.unicode());
            at += 2;
        }
    }
    put16(page, at, 0xFFFF);
    return page;
}

QByteArray inlineMap(int startPage, const QList<int> &pages)
{
    QByteArray map(MapRowLength, '\0');
    put8(map, 0, 0x00);
    put32(map, 1, quint32(startPage));
    for (int p : pages)
        map[5 + (p - startPage) / 8] =
            char(map[5 + (p - startPage) / 8] | (1 << ((p - startPage) % 8)));
    return map;
}

QByteArray referenceMap(const QList<int> &bitmapPages)
{
    QByteArray map(1 + MostBitmapPages * 4, '\0');
    put8(map, 0, 0x01);
    for (qsizetype j = 0; j < bitmapPages.size() && j < MostBitmapPages; ++j)
        put32(map, 1 + 4 * j, quint32(bitmapPages[j]));
    return map;
}

QByteArray bitmapPage(int firstCovered, int first, int last)
{
    QByteArray page(PageSize, '\0');
    put8(page, 0, 0x05);
    put8(page, 1, 0x01);
    const int from = std::max(first, firstCovered);
    const int to = std::min(last, firstCovered + BitmapPageCapacity - 1);
    for (int p = from; p <= to; ++p) {
        const int bit = p - firstCovered;
        page[4 + bit / 8] = char(page[4 + bit / 8] | (1 << (bit % 8)));
    }
    return page;
}

} // namespace jet4::detail
