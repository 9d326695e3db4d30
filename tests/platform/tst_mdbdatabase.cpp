// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Database.h"
#include "core/Failure.h"
#include "platform/MdbDatabase.h"
#include "tests/support/JetFixtures.h"
#include "tests/support/MdbTools.h"
#include "tests/support/SpecialFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using core::Failure;
using core::ObjectState;
using Row = QList<std::optional<QString>>;

namespace {

// The description of the Failure that `statement` throws, or "(no failure)".
template <typename Statement>
QString failureOf(Statement &&statement)
{
    try {
        statement();
    } catch (const Failure &failure) {
        return failure.description();
    }
    return u"(no failure)"_s;
}

QList<Row> readAll(core::RecordSet &rs)
{
    QList<Row> rows;
    while (!rs.eof()) {
        Row row;
        for (int c = 0; c < rs.fieldCount(); ++c)
            row.append(rs.field(c));
        rows.append(row);
        rs.moveNext();
    }
    return rows;
}

} // namespace

class TestMdbDatabase : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sample; // words (3 columns), pairs (2 columns), empty (no rows)

private Q_SLOTS:
    void initTestCase();
    void dataSource_data();
    void dataSource();
    void query_data();
    void query();
    void openFailures_data();
    void openFailures();
    void connectionStates();
    void recordSetNavigation();
    void recordSetsOfOneFileReadInTurns();
    void recordSetFailures_data();
    void recordSetFailures();
    void nullsDifferFromEmptyTexts();
    void truncatedTableFails_data();
    void truncatedTableFails();
    void accessFilesReadLikeMdbExport_data();
    void accessFilesReadLikeMdbExport();
};

void TestMdbDatabase::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sample = m_dir.filePath(u"sample.mdb"_s);
    jet4::Table pairs{u"pairs"_s,
                      {{u"K"_s, jet4::ColumnType::Long, 0}, {u"V"_s, jet4::ColumnType::Text, 10}},
                      {{jet4::Value(qint32(1)), jet4::Value(u"one"_s)}}};
    QVERIFY(fixtures::save(m_sample,
                           fixtures::build({fixtures::wordsTable({u"Alpha"_s, u"beta"_s}),
                                            pairs,
                                            fixtures::wordsTable({}, u"empty"_s)})));
}

void TestMdbDatabase::dataSource_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("failure");

    QTest::newRow("the words connection names dbWords.mdb in the folder")
        << core::wordsConnectionText(u"/opt/digitome"_s) << u"/opt/digitome/dbWords.mdb"_s
        << QString();
    QTest::newRow("the words connection has a blank after Data Source=")
        << core::wordsConnectionText(u"/x"_s) << QString() << QString();
    QTest::newRow("blanks around the path are trimmed")
        << u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=   /a b/c.mdb  "_s << u"/a b/c.mdb"_s
        << QString();
    QTest::newRow("keys and provider in any case")
        << u"provider=microsoft.jet.oledb.4.0; DATA SOURCE=/d.mdb"_s << u"/d.mdb"_s << QString();
    QTest::newRow("a folder name may hold a semicolon")
        << core::wordsConnectionText(u"/a;b"_s) << u"/a;b/dbWords.mdb"_s << QString();
    QTest::newRow("another provider fails")
        << u"Provider=SQLOLEDB;Data Source=/d.mdb"_s << QString()
        << u"Provider cannot be found. It may not be properly installed."_s;
    QTest::newRow("a missing data source fails")
        << u"Provider=Microsoft.Jet.OLEDB.4.0"_s << QString()
        << u"The connection text names no data source."_s;
    QTest::newRow("an empty data source fails")
        << u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source= "_s << QString()
        << u"The connection text names no data source."_s;
}

void TestMdbDatabase::dataSource()
{
    QFETCH(QString, text);
    QFETCH(QString, source);
    QFETCH(QString, failure);
    if (source.isEmpty() && failure.isEmpty()) {
        QVERIFY(text.contains(u"Data Source= /x/dbWords.mdb"_s));
        QVERIFY(text.startsWith(u"Provider=Microsoft.Jet.OLEDB.4.0;"_s));
        return;
    }
    QString got;
    const QString thrown = failureOf([&] {
        got = core::dataSourceOf(text);
    });
    if (failure.isEmpty()) {
        QCOMPARE(thrown, u"(no failure)"_s);
        QCOMPARE(got, source);
    } else {
        QCOMPARE(thrown, failure);
    }
}

void TestMdbDatabase::query_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("table");

    QTest::newRow("the words query") << u"select * from words"_s << u"words"_s;
    QTest::newRow("keywords in any case") << u"SELECT * FROM Words"_s << u"Words"_s;
    QTest::newRow("extra blanks and a final semicolon")
        << u"  Select\t*  from  words ; "_s << u"words"_s;
    QTest::newRow("a bracketed name may hold blanks")
        << u"select * from [my words]"_s << u"my words"_s;
    QTest::newRow("named columns are not understood") << u"select Word from words"_s << QString();
    QTest::newRow("conditions are not understood")
        << u"select * from words where ID = 1"_s << QString();
    QTest::newRow("two tables are not understood") << u"select * from a, b"_s << QString();
    QTest::newRow("other statements are not understood") << u"delete from words"_s << QString();
    QTest::newRow("an empty query is not understood") << QString() << QString();
}

void TestMdbDatabase::query()
{
    QFETCH(QString, query);
    QFETCH(QString, table);
    QString got;
    const QString thrown = failureOf([&] {
        got = core::tableOfQuery(query);
    });
    if (table.isEmpty()) {
        QVERIFY2(thrown.contains(u"is not supported"_s), qPrintable(thrown));
        QVERIFY2(thrown.contains(query), qPrintable(thrown));
    } else {
        QCOMPARE(got, table);
    }
}

void TestMdbDatabase::openFailures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // written to `file` unless null
    QTest::addColumn<QString>("failure");    // %1 stands for the absolute path

    const QByteArray good = fixtures::load(m_sample);
    QByteArray content;

    QTest::newRow("a missing file")
        << u"missing.mdb"_s << QByteArray() << u"Could not find file '%1'."_s;
    QTest::newRow("a folder of that name")
        << u"folder.mdb"_s << QByteArray() << u"Cannot open '%1': it is a folder"_s;
    for (const char *kind : {"fifo", "socket", "device link", "fifo link"})
        QTest::newRow(kind) << u"special:"_s + QLatin1String(kind) << QByteArray()
                            << u"Cannot open the file '%1': Is a "_s;
    QTest::newRow("link loop")
        << u"special:link loop"_s << QByteArray()
        << u"Cannot open the file '%1': Too many levels of symbolic links."_s;
    // A 3 GB file (sparse: no disk is used) is never read whole.
    QTest::newRow("3 GB behind a foreign header")
        << u"huge.mdb"_s << QByteArray("hello\n") << u"Unrecognized database format '%1'."_s;
    QTest::newRow("3 GB behind a Jet header") << u"huge.mdb"_s << good.left(jet4::PageSize)
                                              << u"The database '%1' is damaged: page 2 is not"_s;
    QTest::newRow("a zero-length file")
        << u"empty.mdb"_s << QByteArray("") << u"Unrecognized database format '%1'."_s;
    QTest::newRow("a text file") << u"text.mdb"_s << QByteArray("hello\nworld\n").repeated(900)
                                 << u"Unrecognized database format '%1'."_s;
    QTest::newRow("a size that is not whole pages")
        << u"odd.mdb"_s << good + QByteArray(100, 'x') << u"Unrecognized database format '%1'."_s;
    QTest::newRow("only the first pages") << u"short.mdb"_s << good.left(2 * jet4::PageSize)
                                          << u"Unrecognized database format '%1'."_s;
    content = good;
    content[0x14] = 3;
    QTest::newRow("a newer format version")
        << u"newer.mdb"_s << content << u"Unrecognized database format '%1'."_s;
    content = good;
    content[2 * jet4::PageSize + 55 + 1] = char(0x70); // catalog map row on a page past the end
    QTest::newRow("a catalog usage map outside the file")
        << u"map.mdb"_s << content << u"The database '%1' is damaged: the usage map"_s;
    content = good;
    content[2 * jet4::PageSize + 59] = char(0x60); // catalog free map: row 0x60 of page 1
    QTest::newRow("a catalog usage map naming a missing row")
        << u"row.mdb"_s << content << u"The database '%1' is damaged: the usage map"_s;
    content = good;
    content[2 * jet4::PageSize] = 0x01;
    QTest::newRow("a catalog page of the wrong kind")
        << u"kind.mdb"_s << content << u"The database '%1' is damaged: page 2 is not"_s;
}

void TestMdbDatabase::openFailures()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, failure);
    QString path = m_dir.filePath(file);
    QFile::remove(path);
    if (file == u"folder.mdb")
        QVERIFY(QDir().mkpath(path));
    else if (file.startsWith(u"special:"))
        path = testsupport::makeSpecialFile(
            file.sliced(8), m_dir.filePath(QString::fromLatin1(QTest::currentDataTag())));
    else if (!content.isNull())
        QVERIFY(fixtures::save(path, content));
    if (file == u"huge.mdb")
        QVERIFY(QFile::resize(path, qint64(3) << 30));

    platform::MdbConnection connection;
    const QString thrown = failureOf([&] {
        connection.open(fixtures::connectionTextFor(path));
    });
    QVERIFY2(thrown.startsWith(failure.arg(path)), qPrintable(thrown));
    QCOMPARE(connection.state(), ObjectState::Closed);
}

void TestMdbDatabase::connectionStates()
{
    platform::MdbDatabase database;
    const std::unique_ptr<core::Connection> connection = database.createConnection();
    QCOMPARE(connection->state(), ObjectState::Closed);
    QCOMPARE(failureOf([&] {
                 connection->openRecordSet(u"select * from words"_s);
             }),
             core::dberror::closedObject());
    QCOMPARE(failureOf([&] {
                 connection->close();
             }),
             core::dberror::closedObject());

    connection->open(fixtures::connectionTextFor(m_sample));
    QCOMPARE(connection->state(), ObjectState::Open);
    QCOMPARE(failureOf([&] {
                 connection->open(fixtures::connectionTextFor(m_sample));
             }),
             core::dberror::openObject());
    QCOMPARE(connection->state(), ObjectState::Open);

    // A record set keeps its rows after the connection closes.
    const auto rs = connection->openRecordSet(u"select * from pairs"_s);
    connection->close();
    QCOMPARE(connection->state(), ObjectState::Closed);
    QCOMPARE(rs->field(1), std::optional<QString>(u"one"_s));

    connection->open(fixtures::connectionTextFor(m_sample));
    QCOMPARE(connection->state(), ObjectState::Open);
}

void TestMdbDatabase::recordSetNavigation()
{
    platform::MdbConnection connection;
    connection.open(fixtures::connectionTextFor(m_sample));
    const auto rs = connection.openRecordSet(u"SELECT * FROM WORDS"_s);
    QCOMPARE(rs->state(), ObjectState::Open);
    QCOMPARE(rs->fieldCount(), 3);
    QVERIFY(!rs->eof());
    QCOMPARE(rs->field(0), std::optional<QString>(u"1"_s));
    QCOMPARE(rs->field(2), std::optional<QString>(u"Alpha"_s));
    rs->moveNext();
    QCOMPARE(rs->field(2), std::optional<QString>(u"beta"_s));
    rs->moveNext();
    QVERIFY(rs->eof());
    QCOMPARE(failureOf([&] {
                 rs->field(2);
             }),
             core::dberror::noCurrentRecord());
    QCOMPARE(failureOf([&] {
                 rs->moveNext();
             }),
             core::dberror::noCurrentRecord());
    rs->close();
    QCOMPARE(rs->state(), ObjectState::Closed);
    QCOMPARE(failureOf([&] {
                 rs->eof();
             }),
             core::dberror::closedObject());
    QCOMPARE(failureOf([&] {
                 rs->close();
             }),
             core::dberror::closedObject());

    const auto empty = connection.openRecordSet(u"select * from empty"_s);
    QVERIFY(empty->eof());
}

// Record sets read their rows' pages as their cursors reach them: two of
// one file, read in turns, each see their own rows.
void TestMdbDatabase::recordSetsOfOneFileReadInTurns()
{
    QList<std::optional<QString>> first;
    QList<std::optional<QString>> second;
    for (int i = 0; i < 5000; ++i) {
        first.append(u"first%1"_s.arg(i));
        second.append(i % 7 ? std::optional(u"second%1"_s.arg(i)) : std::nullopt);
    }
    const QString path = m_dir.filePath(u"turns.mdb"_s);
    QVERIFY(fixtures::save(path,
                           fixtures::build({fixtures::wordsTable(first, u"one"_s),
                                            fixtures::wordsTable(second, u"two"_s)})));
    platform::MdbConnection connection;
    connection.open(fixtures::connectionTextFor(path));
    const auto one = connection.openRecordSet(u"select * from one"_s);
    const auto two = connection.openRecordSet(u"select * from two"_s);
    connection.close();
    for (int i = 0; i < 5000; ++i) {
        QCOMPARE(one->field(2), first[i]);
        QCOMPARE(two->field(2), second[i]);
        QCOMPARE(one->field(0), std::optional(QString::number(i + 1)));
        one->moveNext();
        two->moveNext();
    }
    QVERIFY(one->eof() && two->eof());
}

void TestMdbDatabase::recordSetFailures_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("failure");

    QTest::newRow("a missing table")
        << u"select * from nosuch"_s << 0 << core::dberror::tableNotFound(u"nosuch"_s);
    QTest::newRow("position 2 of a two-column table")
        << u"select * from pairs"_s << 2 << core::dberror::noSuchField();
    QTest::newRow("a negative position")
        << u"select * from words"_s << -1 << core::dberror::noSuchField();
    QTest::newRow("the position after the last column")
        << u"select * from words"_s << 3 << core::dberror::noSuchField();
}

void TestMdbDatabase::recordSetFailures()
{
    QFETCH(QString, query);
    QFETCH(int, position);
    QFETCH(QString, failure);
    platform::MdbConnection connection;
    connection.open(fixtures::connectionTextFor(m_sample));
    QCOMPARE(failureOf([&] {
                 connection.openRecordSet(query)->field(position);
             }),
             failure);
    QCOMPARE(connection.state(), ObjectState::Open);
}

void TestMdbDatabase::nullsDifferFromEmptyTexts()
{
    const QString path = m_dir.filePath(u"nulls.mdb"_s);
    jet4::Table t{u"t"_s,
                  {{u"A"_s, jet4::ColumnType::Long, 0},
                   {u"B"_s, jet4::ColumnType::Text, 20},
                   {u"C"_s, jet4::ColumnType::Text, 20}},
                  {{jet4::Value(), jet4::Value(u""_s), jet4::Value()},
                   {jet4::Value(qint32(-7)), jet4::Value(), jet4::Value(u""_s)},
                   {jet4::Value(qint32(0)), jet4::Value(u"x"_s), jet4::Value(u"Ünï"_s)}}};
    QVERIFY(fixtures::save(path, fixtures::build({t})));
    platform::MdbConnection connection;
    connection.open(fixtures::connectionTextFor(path));
    const auto rs = connection.openRecordSet(u"select * from t"_s);
    const QList<Row> expected{{std::nullopt, u""_s, std::nullopt},
                              {u"-7"_s, std::nullopt, u""_s},
                              {u"0"_s, u"x"_s, u"Ünï"_s}};
    QCOMPARE(readAll(*rs), expected);
}

// A file cut short is damaged, also when it shrinks, or is written anew,
// between the open and the reading of the table: never a signal.
void TestMdbDatabase::truncatedTableFails_data()
{
    QTest::addColumn<bool>("beforeOpening");
    QTest::addColumn<qint64>("keptPages"); // negative: all but that many
    QTest::addColumn<bool>("writtenAnew"); // then the whole file again, as a copy over it does
    QTest::newRow("cut by ten pages before the open") << true << qint64(-10) << false;
    QTest::newRow("shrunk to nothing after the open") << false << qint64(0) << false;
    QTest::newRow("shrunk to its first pages after the open") << false << qint64(4) << false;
    QTest::newRow("shrunk by one page after the open") << false << qint64(-1) << false;
    QTest::newRow("copied over after the open") << false << qint64(0) << true;
}

void TestMdbDatabase::truncatedTableFails()
{
    QFETCH(bool, beforeOpening);
    QFETCH(qint64, keptPages);
    QFETCH(bool, writtenAnew);
    QList<std::optional<QString>> words;
    for (int i = 0; i < 5000; ++i)
        words.append(u"w%1"_s.arg(i));
    const QByteArray whole = fixtures::build({fixtures::wordsTable(words)});
    const qint64 pages = whole.size() / jet4::PageSize;
    const qint64 kept = (keptPages < 0 ? pages + keptPages : keptPages) * jet4::PageSize;
    const QString path = m_dir.filePath(u"truncated.mdb"_s);
    QVERIFY(fixtures::save(path, beforeOpening ? whole.left(kept) : whole));

    platform::MdbConnection connection;
    const QString thrown = failureOf([&] {
        connection.open(fixtures::connectionTextFor(path));
        if (!beforeOpening)
            QVERIFY(QFile::resize(path, kept));
        if (writtenAnew) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
            QCOMPARE(file.write(whole), whole.size());
        }
        connection.openRecordSet(u"select * from words"_s);
    });
    QVERIFY2(thrown.startsWith(u"The database '%1' is damaged"_s.arg(path)), qPrintable(thrown));
}

void TestMdbDatabase::accessFilesReadLikeMdbExport_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("table");
    if (!mdbtools::available())
        QSKIP(mdbtools::Missing);
    const QDir dir(qEnvironmentVariable("DIGITOME_TESTDATA") + u"/jet4"_s);
    QVERIFY2(dir.entryList({u"*.mdb"_s}).size() == 5, qPrintable(dir.path()));
    for (const QString &file : dir.entryList({u"*.mdb"_s}, QDir::Files, QDir::Name)) {
        const auto tables = mdbtools::tables(dir.filePath(file));
        QVERIFY2(tables, qPrintable(file));
        for (const QString &table : *tables)
            QTest::addRow("%s %s", qPrintable(file), qPrintable(table))
                << dir.filePath(file) << table;
    }
}

void TestMdbDatabase::accessFilesReadLikeMdbExport()
{
    QFETCH(QString, path);
    QFETCH(QString, table);
    const auto exported = mdbtools::exportRows(path, table);
    QVERIFY(exported);

    platform::MdbConnection connection;
    connection.open(fixtures::connectionTextFor(path));
    const auto rs = connection.openRecordSet(u"select * from [%1]"_s.arg(table));
    QList<Row> rows = readAll(*rs);
    // mdb-export prints every zero-length value as a null.
    for (Row &row : rows) {
        for (std::optional<QString> &value : row) {
            if (value && value->isEmpty())
                value.reset();
        }
    }
    QCOMPARE(rows, *exported);
}

QTEST_GUILESS_MAIN(TestMdbDatabase)
#include "tst_mdbdatabase.moc"
