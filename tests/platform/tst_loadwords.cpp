// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Database.h"
#include "core/Failure.h"
#include "engine/LoadWords.h"
#include "engine/WordStore.h"
#include "platform/MdbDatabase.h"
#include "tests/support/JetFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using Words = QList<std::optional<QString>>;

Q_DECLARE_METATYPE(Words)

namespace {

const QString Duplicate = u"This key is already associated with an element of this collection"_s;

// Loads `tables` through a real file and connection; returns the failure text
// (empty when none) and leaves the words in `store`. `damage` may change the
// file's bytes first.
QString load(const QTemporaryDir &dir,
             const QList<jet4::Table> &tables,
             engine::WordStore &store,
             const std::function<void(QByteArray &)> &damage = {})
{
    const QString path = dir.filePath(u"dbWords.mdb"_s);
    QFile::remove(path);
    QByteArray bytes = fixtures::build(tables);
    if (damage)
        damage(bytes);
    if (!fixtures::save(path, bytes))
        return u"(cannot write the test file)"_s;
    platform::MdbConnection connection;
    try {
        connection.open(fixtures::connectionTextFor(path));
        engine::loadWords(connection, store);
    } catch (const core::Failure &failure) {
        return failure.description();
    }
    return {};
}

QStringList sorted(const engine::WordStore &store)
{
    QStringList words = store.words().values();
    words.sort();
    return words;
}

} // namespace

class TestLoadWords : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void words_data();
    void words();
    void tableFailures_data();
    void tableFailures();
    void optionalColumns_data();
    void optionalColumns();
    void damagedValueStopsAtItsRow();
    void lookupIsExactAfterLowerCasing();
    void closedConnectionFails();
    void startUpWithoutDictionary();
    void startUpWithShippedDictionary();
};

void TestLoadWords::words_data()
{
    QTest::addColumn<Words>("rows");
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QString>("failure");

    QTest::newRow("words are lower-cased")
        << Words{u"File"_s, u"If"_s} << QStringList{u"file"_s, u"if"_s} << QString();
    QTest::newRow("a duplicate after lower-casing stops at it, earlier words stay")
        << Words{u"dog"_s, u"Cat"_s, u"cat"_s, u"zebra"_s} << QStringList{u"cat"_s, u"dog"_s}
        << Duplicate;
    QTest::newRow("an exact duplicate stops at it")
        << Words{u"a"_s, u"b"_s, u"a"_s} << QStringList{u"a"_s, u"b"_s} << Duplicate;
    QTest::newRow("a null stops at it, earlier words stay")
        << Words{u"one"_s, std::nullopt, u"three"_s} << QStringList{u"one"_s}
        << u"Invalid use of Null"_s;
    QTest::newRow("a null in the first row leaves the store empty")
        << Words{std::nullopt} << QStringList{} << u"Invalid use of Null"_s;
    QTest::newRow("an empty text is a word of its own")
        << Words{u""_s, u"x"_s} << QStringList{u""_s, u"x"_s} << QString();
    QTest::newRow("a second empty text is a duplicate")
        << Words{u""_s, u""_s} << QStringList{u""_s} << Duplicate;
    QTest::newRow("words of 255 characters are kept whole")
        << Words{QString(255, u'Q'), QString(254, u'q') + u'r'}
        << QStringList{QString(255, u'q'), QString(254, u'q') + u'r'} << QString();
    QTest::newRow("non-ASCII words lower-case by Unicode rules; letters on no key are skipped")
        << Words{u"ÄPFEL"_s, u"Жук"_s, u"ÉCOLE"_s, u"日本"_s}
        << QStringList{u"äpfel"_s, u"école"_s, u"жук"_s} << QString();
    QTest::newRow("non-ASCII case pairs are duplicates")
        << Words{u"straße"_s, u"STRAßE"_s} << QStringList{u"straße"_s} << Duplicate;
    QTest::newRow("an empty table gives an empty store") << Words{} << QStringList{} << QString();
}

void TestLoadWords::words()
{
    QFETCH(Words, rows);
    QFETCH(QStringList, store);
    QFETCH(QString, failure);
    engine::WordStore words;
    QCOMPARE(load(m_dir, {fixtures::wordsTable(rows)}, words), failure);
    QCOMPARE(sorted(words), store);
}

void TestLoadWords::tableFailures_data()
{
    QTest::addColumn<QList<jet4::Table>>("tables");
    QTest::addColumn<QString>("failure");

    const jet4::Table twoColumns{
        u"words"_s,
        {{u"ID"_s, jet4::ColumnType::Long, 0}, {u"Word"_s, jet4::ColumnType::Text, 255}},
        {{jet4::Value(qint32(1)), jet4::Value(u"cat"_s)}}};
    QTest::newRow("a words table of two columns has no field 2")
        << QList<jet4::Table>{twoColumns} << core::dberror::noSuchField();
    QTest::newRow("no table named words")
        << QList<jet4::Table>{fixtures::wordsTable({u"cat"_s}, u"wordlist"_s)}
        << core::dberror::tableNotFound(u"words"_s);
    QTest::newRow("the table name is found in any case")
        << QList<jet4::Table>{fixtures::wordsTable({u"cat"_s}, u"Words"_s)} << QString();
    QTest::newRow("the third column is read even when it holds numbers")
        << QList<jet4::Table>{jet4::Table{u"words"_s,
                                          {{u"A"_s, jet4::ColumnType::Text, 5},
                                           {u"B"_s, jet4::ColumnType::Text, 5},
                                           {u"C"_s, jet4::ColumnType::Long, 0}},
                                          {{jet4::Value(), jet4::Value(), jet4::Value(qint32(7))}}}}
        << QString();
}

void TestLoadWords::tableFailures()
{
    QFETCH(QList<jet4::Table>, tables);
    QFETCH(QString, failure);
    engine::WordStore store;
    QCOMPARE(load(m_dir, tables, store), failure);
    QCOMPARE(store.isEmpty(), !failure.isEmpty());
}

void TestLoadWords::optionalColumns_data()
{
    QTest::addColumn<jet4::Table>("table");
    QTest::addColumn<QList<int>>("levels");  // of "cat", "dog", "emu"
    QTest::addColumn<QList<int>>("ratings"); // how offensive each is

    const QList<int> none{0, 0, 0};
    jet4::Table table = fixtures::wordsTable({u"Cat"_s, u"dog"_s, u"emu"_s});
    QTest::newRow("without the column every level is 0") << table << none << none;
    table.columns.append({u"Commonness"_s, jet4::ColumnType::Long, 0});
    table.rows[0].append(jet4::Value(qint32(10)));
    table.rows[1].append(jet4::Value(qint32(35)));
    table.rows[2].append(jet4::Value());
    QTest::newRow("levels come from the column, a null is 0")
        << table << QList<int>{10, 35, 0} << none;
    table.columns.append({u"Offensive"_s, jet4::ColumnType::Long, 0});
    table.rows[0].append(jet4::Value(qint32(2)));
    table.rows[1].append(jet4::Value(qint32(7)));
    table.rows[2].append(jet4::Value());
    QTest::newRow("ratings come from the column Offensive, above 2 is 2, a null is 0")
        << table << QList<int>{10, 35, 0} << QList<int>{2, 2, 0};
    table.columns[3].name = u"Notes"_s;
    table.columns[4] = {u"OFFENSIVE"_s, jet4::ColumnType::Text, 10};
    table.rows[0][4] = jet4::Value(u"1"_s);
    table.rows[1][4] = jet4::Value(u"-1"_s);
    QTest::newRow("another fourth column is not read; Offensive in any case")
        << table << none << QList<int>{1, 0, 0};
    table = fixtures::wordsTable({u"Cat"_s, u"dog"_s, u"emu"_s});
    table.columns[1].name = u"COMMONNESS"_s;
    table.rows[0][1] = jet4::Value(u"20"_s);
    table.rows[1][1] = jet4::Value(u"often"_s);
    table.rows[2][1] = jet4::Value(u"-5"_s);
    QTest::newRow("found by name in any case and place; other texts are 0")
        << table << QList<int>{20, 0, 0} << none;
}

void TestLoadWords::optionalColumns()
{
    QFETCH(jet4::Table, table);
    QFETCH(QList<int>, levels);
    QFETCH(QList<int>, ratings);
    engine::WordStore store;
    QCOMPARE(load(m_dir, {table}, store), QString());
    QCOMPARE(store.size(), 3);
    for (const QString &word : {u"cat"_s, u"dog"_s, u"emu"_s}) {
        QCOMPARE(store.commonness(word), levels.takeFirst());
        QCOMPARE(store.offensive(word), ratings.takeFirst());
    }
}

// A value pointing outside its page fails when its row is read: the words
// before it stay, as after any other failure.
void TestLoadWords::damagedValueStopsAtItsRow()
{
    const auto pointWordOutside = [](QByteArray &bytes) {
        const qsizetype at = bytes.indexOf("\xFF\xFEzebra");
        QVERIFY(at > 0);
        const qsizetype page = at / jet4::PageSize * jet4::PageSize;
        const auto entry = [&](qsizetype offset) {
            return qsizetype(quint8(bytes[page + offset]) | quint8(bytes[page + offset + 1]) << 8);
        };
        // Rows lie from the page's end down: the row holding the word ends
        // where the row before it starts.
        qsizetype rowEnd = jet4::PageSize;
        for (qsizetype row = 0; row < entry(12); ++row) {
            const qsizetype start = entry(14 + 2 * row) & 0x1FFF;
            if (start <= at - page)
                break;
            rowEnd = start;
        }
        // Before the one-byte null mask and the count of variable columns:
        // the offsets of those columns, the second (Word) one below the first.
        const qsizetype wordOffset = page + rowEnd - 1 - 1 - 2 - 2 * 2;
        bytes[wordOffset] = char(0xF0);
        bytes[wordOffset + 1] = char(0x1F);
    };
    engine::WordStore store;
    const QString failure = load(m_dir,
                                 {fixtures::wordsTable({u"cat"_s, u"dog"_s, u"zebra"_s, u"emu"_s})},
                                 store,
                                 pointWordOutside);
    QVERIFY2(failure.endsWith(u"is damaged: a row of table 'words' cannot be read."_s),
             qPrintable(failure));
    QCOMPARE(sorted(store), (QStringList{u"cat"_s, u"dog"_s}));
}

void TestLoadWords::lookupIsExactAfterLowerCasing()
{
    engine::WordStore store;
    QCOMPARE(load(m_dir, {fixtures::wordsTable({u"File"_s, u"If"_s})}, store), QString());
    QVERIFY(store.contains(u"file"));
    QVERIFY(store.contains(u"if"));
    QVERIFY(!store.contains(u"File"));
    QVERIFY(!store.contains(u"fil"));
}

void TestLoadWords::closedConnectionFails()
{
    platform::MdbConnection connection;
    engine::WordStore store;
    QVERIFY_THROWS_EXCEPTION(core::Failure, engine::loadWords(connection, store));
    QVERIFY(store.isEmpty());
}

// The start-up steps with no dictionary beside the program: the open fails,
// loading then fails on the closed connection, and the store stays empty.
void TestLoadWords::startUpWithoutDictionary()
{
    platform::MdbDatabase database;
    const auto connection = database.createConnection();
    if (connection->state() != core::ObjectState::Closed)
        connection->close();
    const QString folder = m_dir.filePath(u"nothing-here"_s);
    QString openFailure;
    try {
        connection->open(core::wordsConnectionText(folder));
    } catch (const core::Failure &failure) {
        openFailure = failure.description();
    }
    QCOMPARE(openFailure, u"Could not find file '%1/dbWords.mdb'."_s.arg(folder));
    engine::WordStore store;
    QString loadFailure;
    try {
        engine::loadWords(*connection, store);
    } catch (const core::Failure &failure) {
        loadFailure = failure.description();
    }
    QCOMPARE(loadFailure, core::dberror::closedObject());
    QVERIFY(store.isEmpty());
}

void TestLoadWords::startUpWithShippedDictionary()
{
    const QString folder = qEnvironmentVariable("DIGITOME_APP_DIR");
    QFile list(folder + u"/words.txt"_s);
    QVERIFY2(list.open(QIODevice::ReadOnly), qPrintable(list.fileName()));
    const QStringList words = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);

    platform::MdbDatabase database;
    const auto connection = database.createConnection();
    connection->open(core::wordsConnectionText(folder));
    engine::WordStore store;
    engine::loadWords(*connection, store);
    QCOMPARE(store.size(), words.size());
    for (const QString &w : words)
        QVERIFY2(store.contains(w), qPrintable(w));
    QCOMPARE(connection->state(), core::ObjectState::Open);
}

QTEST_GUILESS_MAIN(TestLoadWords)
#include "tst_loadwords.moc"
