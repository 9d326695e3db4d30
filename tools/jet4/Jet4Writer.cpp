// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/jet4/Jet4Writer.h"

#include <QDate>
#include <QIODevice>
#include <QSaveFile>
#include <QStringList>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace jet4 {

namespace {

// Layout constants of a Jet 4 file.
constexpr int DataPageFree = PageSize - 14; // free bytes of an empty data page
constexpr int MaxRowLength = 4060;
constexpr int MaxRowsPerPage = 255;
constexpr int TdefHeaderLength = 63;
constexpr int ColumnBlockLength = 25;
constexpr int BitmapPageCapacity = (PageSize - 4) * 8; // pages one 0x05 page covers
constexpr int MapRowLength = 1 + 4 + 64;
constexpr quint32 Magic1625 = 1625;
constexpr int CatalogPage = 2;

constexpr quint8 TypeInteger = 0x03;
constexpr quint8 TypeLong = 0x04;
constexpr quint8 TypeText = 0x0A;
constexpr quint8 TypeOle = 0x0B;

void put8(QByteArray &b, int at, quint8 v)
{
    b[at] = char(v);
}

void put16(QByteArray &b, int at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void put32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

void append16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

quint32 rowPointer(int page, int row)
{
    return (quint32(page) << 8) | quint32(row);
}

// One column as stored: its type, size and place in a row.
struct Layout
{
    QString name;
    quint8 type = TypeText;
    int number = 0;
    int varIndex = 0;
    int fixedOffset = 0;
    int byteLength = 0;
    bool fixed() const { return type == TypeLong || type == TypeInteger; }
};

struct TableLayout
{
    QString name;
    quint8 tableType = 0x4E;
    QList<Layout> columns;
    int fixedLength = 0;
    int varCount = 0;
};

TableLayout layoutOf(const QString &name, quint8 tableType, const QList<Layout> &columns)
{
    TableLayout t{name, tableType, columns, 0, 0};
    for (int i = 0; i < t.columns.size(); ++i) {
        Layout &c = t.columns[i];
        c.number = i;
        if (c.fixed()) {
            c.fixedOffset = t.fixedLength;
            t.fixedLength += c.byteLength;
        } else {
            c.varIndex = t.varCount++;
        }
    }
    return t;
}

// A value ready for a row: null, a little-endian integer or encoded text.
struct Cell
{
    bool null = true;
    QByteArray bytes;
};

QByteArray encodeRow(const TableLayout &t, const QList<Cell> &cells)
{
    QByteArray row(2 + t.fixedLength, '\0');
    put16(row, 0, quint16(t.columns.size()));
    for (const Layout &c : t.columns) {
        if (c.fixed() && !cells[c.number].null)
            row.replace(2 + c.fixedOffset, c.byteLength, cells[c.number].bytes);
    }
    QList<quint16> offsets;
    for (const Layout &c : t.columns) {
        if (c.fixed())
            continue;
        offsets.append(quint16(row.size()));
        if (!cells[c.number].null)
            row.append(cells[c.number].bytes);
    }
    if (t.varCount > 0) {
        append16(row, quint16(row.size()));
        for (qsizetype i = offsets.size() - 1; i >= 0; --i)
            append16(row, offsets[i]);
        append16(row, quint16(t.varCount));
    }
    QByteArray mask((t.columns.size() + 7) / 8, '\0');
    for (const Layout &c : t.columns) {
        if (!cells[c.number].null)
            mask[c.number / 8] = char(mask[c.number / 8] | (1 << (c.number % 8)));
    }
    row.append(mask);
    return row;
}

QByteArray tableDefinition(
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

// Packs rows into data pages owned by the definition at `ownerPage`.
QList<QByteArray> dataPages(const QList<QByteArray> &rows, int ownerPage)
{
    QList<QByteArray> pages;
    qsizetype next = 0;
    while (next < rows.size()) {
        QByteArray page(PageSize, '\0');
        put8(page, 0, 0x01);
        put8(page, 1, 0x01);
        put32(page, 4, quint32(ownerPage));
        int free = DataPageFree;
        int end = PageSize;
        int count = 0;
        while (next < rows.size() && count < MaxRowsPerPage && int(rows[next].size()) + 2 <= free) {
            const QByteArray &row = rows[next++];
            end -= int(row.size());
            page.replace(end, row.size(), row);
            put16(page, 14 + 2 * count, quint16(end));
            free -= int(row.size()) + 2;
            ++count;
        }
        put16(page, 2, quint16(free));
        put16(page, 12, quint16(count));
        pages.append(page);
    }
    return pages;
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

QByteArray referenceMap(int bitmapPage)
{
    QByteArray map(1 + 17 * 4, '\0');
    put8(map, 0, 0x01);
    put32(map, 1, quint32(bitmapPage));
    return map;
}

QByteArray bitmapPage(const QList<int> &pages)
{
    QByteArray page(PageSize, '\0');
    put8(page, 0, 0x05);
    put8(page, 1, 0x01);
    for (int p : pages)
        page[4 + p / 8] = char(page[4 + p / 8] | (1 << (p % 8)));
    return page;
}

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

Layout columnLayout(const Column &column)
{
    Layout c;
    c.name = column.name;
    if (column.type == ColumnType::Long) {
        c.type = TypeLong;
        c.byteLength = 4;
    } else {
        c.type = TypeText;
        c.byteLength = 2 * column.length;
    }
    return c;
}

Cell longCell(qint32 v)
{
    QByteArray b(4, '\0');
    put32(b, 0, quint32(v));
    return {false, b};
}

Cell shortCell(qint16 v)
{
    QByteArray b(2, '\0');
    put16(b, 0, quint16(v));
    return {false, b};
}

bool validName(const QString &name)
{
    return !name.isEmpty() && name.size() <= 64;
}

// The cells of one user row, checked against the columns.
bool cellsOf(const Table &table, qsizetype rowIndex, QList<Cell> *cells, QString *error)
{
    const QList<Value> &row = table.rows[rowIndex];
    if (row.size() != table.columns.size()) {
        *error = u"Row %1 of table '%2' has %3 values for %4 columns."_s.arg(rowIndex + 1)
                     .arg(table.name)
                     .arg(row.size())
                     .arg(table.columns.size());
        return false;
    }
    cells->clear();
    for (qsizetype i = 0; i < row.size(); ++i) {
        const Column &column = table.columns[i];
        const Value &value = row[i];
        if (std::holds_alternative<std::monostate>(value)) {
            cells->append(Cell{});
        } else if (column.type == ColumnType::Long && std::holds_alternative<qint32>(value)) {
            cells->append(longCell(std::get<qint32>(value)));
        } else if (column.type == ColumnType::Text && std::holds_alternative<QString>(value)) {
            const QString &text = std::get<QString>(value);
            if (text.size() > column.length) {
                *error = u"Row %1 of table '%2': the text in column '%3' is longer than %4."_s
                             .arg(rowIndex + 1)
                             .arg(table.name, column.name)
                             .arg(column.length);
                return false;
            }
            cells->append(Cell{false, encodeText(text)});
        } else {
            *error = u"Row %1 of table '%2': the value in column '%3' has the wrong type."_s
                         .arg(rowIndex + 1)
                         .arg(table.name, column.name);
            return false;
        }
    }
    return true;
}

bool checkTables(const QList<Table> &tables, QString *error)
{
    if (tables.size() > 25) {
        *error = u"At most 25 tables can be written."_s;
        return false;
    }
    QStringList names;
    for (const Table &t : tables) {
        if (!validName(t.name) || t.name.compare(u"MSysObjects"_s, Qt::CaseInsensitive) == 0) {
            *error = u"'%1' is not a usable table name."_s.arg(t.name);
            return false;
        }
        if (names.contains(t.name, Qt::CaseInsensitive)) {
            *error = u"The table name '%1' is used twice."_s.arg(t.name);
            return false;
        }
        names.append(t.name);
        if (t.columns.isEmpty()) {
            *error = u"Table '%1' has no columns."_s.arg(t.name);
            return false;
        }
        for (const Column &c : t.columns) {
            if (!validName(c.name)) {
                *error = u"Table '%1' has a column without a usable name."_s.arg(t.name);
                return false;
            }
            if (c.type == ColumnType::Text && (c.length < 1 || c.length > 255)) {
                *error = u"Column '%1' of table '%2' must hold 1 to 255 characters."_s.arg(c.name,
                                                                                           t.name);
                return false;
            }
        }
    }
    return true;
}

} // namespace

QByteArray encodeText(const QString &text)
{
    if (text.isEmpty())
        return {};
    bool narrow = text.size() >= 3;
    for (QChar ch : text) {
        if (ch.unicode() == 0 || ch.unicode() > 0xFF) {
            narrow = false;
            break;
        }
    }
    QByteArray bytes;
    if (narrow) {
        bytes.reserve(2 + text.size());
        bytes.append(char(0xFF)).append(char(0xFE));
        for (QChar ch : text)
            bytes.append(char(ch.unicode()));
        return bytes;
    }
    // A leading U+FEFF would read as the compression mark: open a compressed
    // value and switch it to two-byte mode at once.
    if (text.front().unicode() == 0xFEFF)
        bytes.append(char(0xFF)).append(char(0xFE)).append('\0');
    for (QChar ch : text)
        append16(bytes, ch.unicode());
    return bytes;
}

QByteArray buildDatabase(const QList<Table> &tables, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (!checkTables(tables, error))
        return {};

    // Page numbers: 0 header, 1 usage maps, 2-3 the catalog, then for each
    // table its definition, its usage bitmap and its data pages.
    QList<QByteArray> tablePages;
    QList<int> definitionPages;
    QList<QByteArray> catalogRows;
    int nextPage = CatalogPage + 2;
    QByteArray mapsPageRows[3] = {inlineMap(0, {}), inlineMap(0, {3}), inlineMap(0, {3})};
    QList<QByteArray> mapRows(std::begin(mapsPageRows), std::end(mapsPageRows));

    const TableLayout catalog = layoutOf(u"MSysObjects"_s,
                                         0x53,
                                         {{u"Id"_s, TypeLong, 0, 0, 0, 4},
                                          {u"Name"_s, TypeText, 0, 0, 0, 510},
                                          {u"Type"_s, TypeInteger, 0, 0, 0, 2},
                                          {u"Flags"_s, TypeLong, 0, 0, 0, 4},
                                          {u"LvProp"_s, TypeOle, 0, 0, 0, 0}});
    catalogRows.append(encodeRow(catalog,
                                 {longCell(CatalogPage),
                                  Cell{false, encodeText(catalog.name)},
                                  shortCell(1),
                                  longCell(std::numeric_limits<qint32>::min()),
                                  Cell{}}));

    for (qsizetype ti = 0; ti < tables.size(); ++ti) {
        const Table &table = tables[ti];
        QList<Layout> columns;
        for (const Column &c : table.columns)
            columns.append(columnLayout(c));
        const TableLayout layout = layoutOf(table.name, 0x4E, columns);

        QList<QByteArray> rows;
        rows.reserve(table.rows.size());
        QList<Cell> cells;
        for (qsizetype r = 0; r < table.rows.size(); ++r) {
            if (!cellsOf(table, r, &cells, error))
                return {};
            rows.append(encodeRow(layout, cells));
            if (rows.last().size() > MaxRowLength) {
                *error = u"Row %1 of table '%2' is too long."_s.arg(r + 1).arg(table.name);
                return {};
            }
        }

        const int definitionPage = nextPage;
        const int bitmap = definitionPage + 1;
        const QList<QByteArray> data = dataPages(rows, definitionPage);
        QList<int> owned;
        for (qsizetype i = 0; i < data.size(); ++i)
            owned.append(bitmap + 1 + int(i));
        nextPage = bitmap + 1 + int(data.size());
        if (nextPage > BitmapPageCapacity) {
            *error = u"The tables are too large for one file."_s;
            return {};
        }
        const int ownedRow = int(mapRows.size());
        mapRows.append(referenceMap(bitmap));
        mapRows.append(inlineMap(0, {}));
        const QByteArray definition = tableDefinition(layout,
                                                      quint32(table.rows.size()),
                                                      rowPointer(1, ownedRow),
                                                      rowPointer(1, ownedRow + 1),
                                                      error);
        if (definition.isEmpty())
            return {};
        tablePages.append(definition);
        tablePages.append(bitmapPage(owned));
        tablePages.append(data);
        definitionPages.append(definitionPage);
        catalogRows.append(encodeRow(catalog,
                                     {longCell(definitionPage),
                                      Cell{false, encodeText(table.name)},
                                      shortCell(1),
                                      longCell(0),
                                      Cell{}}));
    }

    const QByteArray catalogDefinition = tableDefinition(
        catalog, quint32(catalogRows.size()), rowPointer(1, 1), rowPointer(1, 2), error);
    const QList<QByteArray> catalogData = dataPages(catalogRows, CatalogPage);
    const QList<QByteArray> mapPage = dataPages(mapRows, 0);
    if (catalogData.size() != 1 || mapPage.size() != 1) {
        *error = u"Too many tables for one catalog page."_s;
        return {};
    }

    QByteArray file;
    file.reserve(qsizetype(nextPage) * PageSize);
    file.append(headerPage());
    file.append(mapPage.first());
    file.append(catalogDefinition);
    file.append(catalogData.first());
    for (const QByteArray &page : tablePages)
        file.append(page);
    return file;
}

bool writeDatabase(QIODevice *device, const QList<Table> &tables, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    const QByteArray file = buildDatabase(tables, error);
    if (file.isEmpty())
        return false;
    if (device->write(file) != file.size()) {
        *error = u"Could not write the database: %1"_s.arg(device->errorString());
        return false;
    }
    return true;
}

bool writeDatabaseFile(const QString &path, const QList<Table> &tables, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = u"Could not create '%1': %2"_s.arg(path, file.errorString());
        return false;
    }
    if (!writeDatabase(&file, tables, error))
        return false;
    if (!file.commit()) {
        *error = u"Could not write '%1': %2"_s.arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace jet4
