// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/jet4/Jet4Writer.h"

#include "tools/jet4/Jet4Pages.h"
#include "tools/jet4/Jet4Rows.h"

#include <QBuffer>
#include <QIODevice>
#include <QSaveFile>
#include <QStringList>

#include <limits>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace jet4 {

namespace {

using namespace detail;

constexpr int CatalogPage = 2;
constexpr int FirstTablePage = CatalogPage + 2;
constexpr int MostTables = 25;

bool validName(const QString &name)
{
    return !name.isEmpty() && name.size() <= 64;
}

bool checkTables(const QList<GeneratedTable> &tables, QString *error)
{
    if (tables.size() > MostTables) {
        *error = u"At most %1 tables can be written."_s.arg(MostTables);
        return false;
    }
    QStringList names;
    for (const GeneratedTable &t : tables) {
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
        if (t.rowCount < 0 || t.rowCount > std::numeric_limits<qint32>::max()) {
            *error = u"Table '%1' has too many rows."_s.arg(t.name);
            return false;
        }
    }
    return true;
}

// Where a user table's pages go: its definition, its usage bitmap pages, then
// its data pages, each page starting with the row `pageStarts[i]`.
struct TablePlan
{
    const GeneratedTable *table = nullptr;
    TableLayout layout;
    std::vector<qsizetype> pageStarts;
    int definitionPage = 0;
    int bitmapCount = 0;
    int firstDataPage() const { return definitionPage + 1 + bitmapCount; }
    int endPage() const { return firstDataPage() + int(pageStarts.size()); }
};

// Encodes every row once to find where the data pages break.
bool planPages(TablePlan &plan, QString *error)
{
    const GeneratedTable &table = *plan.table;
    QList<Value> values;
    QByteArray row;
    DataPage page(0);
    for (qsizetype r = 0; r < table.rowCount; ++r) {
        table.fillRow(r, values);
        if (!encodeRow(plan.layout, values, r + 1, row, error))
            return false;
        if (plan.pageStarts.empty() || !page.fits(row.size())) {
            plan.pageStarts.push_back(r);
            page = DataPage(0);
        }
        page.add(row);
    }
    return true;
}

// Places the table's pages from `firstPage` on: as many bitmap pages as the
// stretches up to its last data page need.
bool placePages(TablePlan &plan, int firstPage, QString *error)
{
    plan.definitionPage = firstPage;
    plan.bitmapCount = 1;
    while ((plan.endPage() - 1) / BitmapPageCapacity + 1 > plan.bitmapCount)
        ++plan.bitmapCount;
    if (plan.bitmapCount > MostBitmapPages) {
        *error = u"The tables are too large for one file."_s;
        return false;
    }
    return true;
}

// Writes the pages in file order; false with `error` set when the device fails.
class PageWriter
{
public:
    explicit PageWriter(QIODevice *device)
        : m_device(device)
    {}
    bool write(const QByteArray &page, QString *error)
    {
        if (m_device->write(page) == page.size())
            return true;
        *error = u"Could not write the database: %1"_s.arg(m_device->errorString());
        return false;
    }

private:
    QIODevice *m_device;
};

} // namespace

QByteArray encodeText(const QString &text)
{
    QByteArray bytes;
    appendText(bytes, text);
    return bytes;
}

bool writeDatabase(QIODevice *device, const QList<GeneratedTable> &tables, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (!checkTables(tables, error))
        return false;

    const TableLayout catalog = layoutOf(u"MSysObjects"_s,
                                         0x53,
                                         {{u"Id"_s, TypeLong, 0, 0, 0, 4},
                                          {u"Name"_s, TypeText, 0, 0, 0, 510},
                                          {u"Type"_s, TypeInteger, 0, 0, 0, 2},
                                          {u"Flags"_s, TypeLong, 0, 0, 0, 4},
                                          {u"LvProp"_s, TypeOle, 0, 0, 0, 0}});
    // Page 1 holds the usage maps: a global one, the catalog's owned and free
    // maps, then each table's owned map (naming its bitmap pages) and free map.
    QList<QByteArray> mapRows{inlineMap(0, {}), inlineMap(0, {3}), inlineMap(0, {3})};
    QList<QList<Value>> catalogRows{{Value(qint32(CatalogPage)),
                                     Value(catalog.name),
                                     Value(qint32(1)),
                                     Value(std::numeric_limits<qint32>::min()),
                                     Value()}};

    std::vector<TablePlan> plans(size_t(tables.size()));
    int nextPage = FirstTablePage;
    for (qsizetype i = 0; i < tables.size(); ++i) {
        TablePlan &plan = plans[size_t(i)];
        plan.table = &tables[i];
        plan.layout = userTableLayout(tables[i].name, tables[i].columns);
        if (!planPages(plan, error) || !placePages(plan, nextPage, error))
            return false;
        nextPage = plan.endPage();
        QList<int> bitmaps;
        for (int j = 0; j < plan.bitmapCount; ++j)
            bitmaps.append(plan.definitionPage + 1 + j);
        mapRows.append(referenceMap(bitmaps));
        mapRows.append(inlineMap(0, {}));
        catalogRows.append({Value(qint32(plan.definitionPage)),
                            Value(tables[i].name),
                            Value(qint32(1)),
                            Value(qint32(0)),
                            Value()});
    }

    // The catalog's rows and the usage maps each fit one page.
    const auto onePage = [&](int owner, const QList<QByteArray> &rows, QByteArray *page) {
        DataPage data(owner);
        for (const QByteArray &row : rows) {
            if (!data.fits(row.size())) {
                *error = u"Too many tables for one catalog page."_s;
                return false;
            }
            data.add(row);
        }
        *page = data.bytes();
        return true;
    };
    QList<QByteArray> encodedCatalog;
    QByteArray row;
    for (qsizetype i = 0; i < catalogRows.size(); ++i) {
        if (!encodeRow(catalog, catalogRows[i], i + 1, row, error))
            return false;
        encodedCatalog.append(row);
    }
    QByteArray mapPage;
    QByteArray catalogData;
    if (!onePage(0, mapRows, &mapPage) || !onePage(CatalogPage, encodedCatalog, &catalogData))
        return false;
    const QByteArray catalogDefinition = definitionPage(
        catalog, quint32(catalogRows.size()), rowPointer(1, 1), rowPointer(1, 2), error);
    if (catalogDefinition.isEmpty())
        return false;
    QList<QByteArray> definitions;
    for (size_t i = 0; i < plans.size(); ++i) {
        const int ownedRow = 3 + 2 * int(i);
        definitions.append(definitionPage(plans[i].layout,
                                          quint32(plans[i].table->rowCount),
                                          rowPointer(1, ownedRow),
                                          rowPointer(1, ownedRow + 1),
                                          error));
        if (definitions.last().isEmpty())
            return false;
    }

    PageWriter out(device);
    if (!out.write(headerPage(), error) || !out.write(mapPage, error)
        || !out.write(catalogDefinition, error) || !out.write(catalogData, error))
        return false;
    QList<Value> values;
    for (size_t i = 0; i < plans.size(); ++i) {
        const TablePlan &plan = plans[i];
        if (!out.write(definitions[qsizetype(i)], error))
            return false;
        const int lastData = plan.endPage() - 1;
        for (int j = 0; j < plan.bitmapCount; ++j) {
            if (!out.write(bitmapPage(j * BitmapPageCapacity, plan.firstDataPage(), lastData),
                           error))
                return false;
        }
        const GeneratedTable &table = *plan.table;
        for (size_t p = 0; p < plan.pageStarts.size(); ++p) {
            const qsizetype end =
                p + 1 < plan.pageStarts.size() ? plan.pageStarts[p + 1] : table.rowCount;
            DataPage page(plan.definitionPage);
            for (qsizetype r = plan.pageStarts[p]; r < end; ++r) {
                table.fillRow(r, values);
                if (!encodeRow(plan.layout, values, r + 1, row, error))
                    return false;
                if (!page.fits(row.size())) {
                    *error =
                        u"The rows of table '%1' changed while it was written."_s.arg(table.name);
                    return false;
                }
                page.add(row);
            }
            if (!out.write(page.bytes(), error))
                return false;
        }
    }
    return true;
}

bool writeDatabase(QIODevice *device, const QList<Table> &tables, QString *error)
{
    QList<GeneratedTable> generated;
    for (const Table &table : tables) {
        generated.append({table.name,
                          table.columns,
                          table.rows.size(),
                          [&table](qsizetype row, QList<Value> &values) {
                              values = table.rows[row];
                          }});
    }
    return writeDatabase(device, generated, error);
}

QByteArray buildDatabase(const QList<Table> &tables, QString *error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeDatabase(&buffer, tables, error))
        return {};
    return buffer.data();
}

namespace {

template <typename Tables>
bool writeFile(const QString &path, const Tables &tables, QString *error)
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

} // namespace

bool writeDatabaseFile(const QString &path, const QList<Table> &tables, QString *error)
{
    return writeFile(path, tables, error);
}

bool writeDatabaseFile(const QString &path, const QList<GeneratedTable> &tables, QString *error)
{
    return writeFile(path, tables, error);
}

} // namespace jet4
