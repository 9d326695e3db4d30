// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tests/support/MdbReaderJs.h"
#include "tests/support/MdbTools.h"
#include "tools/jet4/Jet4Writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using jet4::Column;
using jet4::ColumnType;
using jet4::Table;
using jet4::Value;

namespace {

const Value Null{};

Table wordsTable(int rows)
{
    Table t{u"words"_s,
            {{u"ID"_s, ColumnType::Long, 0},
             {u"Category"_s, ColumnType::Text, 50},
             {u"Word"_s, ColumnType::Text, 255}},
            {}};
    for (int i = 0; i < rows; ++i)
        t.rows.append(
            {Value(qint32(i + 1)), Value(u"c%1"_s.arg(i % 7)), Value(u"word%1"_s.arg(i))});
    return t;
}

// What mdb-export gives for a written value: a Long as its decimal text. It
// prints an empty text as a null (it takes every zero-length value for one).
std::optional<QString> asText(const Value &value)
{
    if (std::holds_alternative<qint32>(value))
        return QString::number(std::get<qint32>(value));
    if (std::holds_alternative<QString>(value) && !std::get<QString>(value).isEmpty())
        return std::get<QString>(value);
    return std::nullopt;
}

QList<mdbtools::Row> expectedRows(const Table &table)
{
    QList<mdbtools::Row> rows;
    for (const QList<Value> &row : table.rows) {
        mdbtools::Row r;
        for (const Value &v : row)
            r.append(asText(v));
        rows.append(r);
    }
    return rows;
}

// What mdb-reader gives: it tells empty texts from nulls, but its UTF-16
// decoder drops a leading byte-order mark.
QJsonValue asJson(const Value &value)
{
    if (std::holds_alternative<qint32>(value))
        return std::get<qint32>(value);
    if (std::holds_alternative<QString>(value)) {
        const QString &text = std::get<QString>(value);
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    }
    return QJsonValue::Null;
}

QString written(const QTemporaryDir &dir, const QString &name, const QList<Table> &tables)
{
    const QString path = dir.filePath(name);
    QString error;
    if (!jet4::writeDatabaseFile(path, tables, &error))
        qWarning("%s", qPrintable(error));
    return path;
}

QString text(const QList<QChar> &units)
{
    return QString(units.constData(), units.size());
}

} // namespace

class TestJet4Writer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    bool m_haveMdbtools = false;
    bool m_haveMdbReader = false;

    void addLayouts();

private Q_SLOTS:
    void initTestCase();
    void readByMdbtools_data() { addLayouts(); }
    void readByMdbtools();
    void readByMdbReader_data() { addLayouts(); }
    void readByMdbReader();
    void refusesBadTables_data();
    void refusesBadTables();
    void failedWriteKeepsExistingFile();
    void textEncoding_data();
    void textEncoding();
    void shippedWordList();
    void shippedDictionaryReadByMdbtools();
    void shippedDictionaryReadByMdbReader();
};

void TestJet4Writer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The independent readers are installed by tools/install-deps.sh test:
    // mdbtools from Debian, mdb-reader from npm into the build folder. A test
    // never downloads them; without them it skips and names them.
    m_haveMdbtools = mdbtools::available();
    m_haveMdbReader = mdbreader::prepare();
}

void TestJet4Writer::addLayouts()
{
    QTest::addColumn<QList<Table>>("tables");

    QTest::newRow("rows fill many pages") << QList<Table>{wordsTable(20000)};
    QTest::newRow("a table may be empty") << QList<Table>{wordsTable(0)};

    Table nulls = wordsTable(0);
    nulls.name = u"nulls"_s;
    nulls.rows = {{Null, Value(u"x"_s), Value(u"first"_s)},
                  {Value(qint32(2)), Null, Value(u"second"_s)},
                  {Value(qint32(3)), Value(u"y"_s), Null},
                  {Null, Null, Null},
                  {Value(qint32(5)), Value(QString()), Value(u""_s)}};
    QTest::newRow("nulls and empty texts differ") << QList<Table>{nulls};

    Table texts{u"texts"_s, {{u"T"_s, ColumnType::Text, 255}}, {}};
    for (const QString &s : {u"ab"_s,
                             u"abc"_s,
                             u"Grüße"_s,
                             u"naïve café"_s,
                             u"Ωμέγα"_s,
                             u"日本語"_s,
                             text({QChar(0xFEFF), u'x', u'y', u'z'}),
                             text({u'a', QChar(0xFEFF)}),
                             QString(255, u'w'),
                             QString(255, QChar(0x00E9)),
                             u"mixed ascii and ü and Ж"_s})
        texts.rows.append({Value(s)});
    QTest::newRow("narrow, wide and marked texts") << QList<Table>{texts};

    Table numbers{
        u"numbers"_s,
        {{u"A"_s, ColumnType::Long, 0}, {u"B"_s, ColumnType::Long, 0}},
        {{Value(qint32(0)), Value(qint32(-1))},
         {Value(std::numeric_limits<qint32>::max()), Value(std::numeric_limits<qint32>::min())},
         {Null, Value(qint32(42))}}};
    QTest::newRow("a table without text columns") << QList<Table>{numbers};

    Table wide{u"wide"_s, {}, {{}}};
    for (int c = 0; c < 30; ++c) {
        wide.columns.append(
            {u"column%1"_s.arg(c), c % 3 ? ColumnType::Text : ColumnType::Long, 20});
        wide.rows[0].append(c % 5 == 4 ? Null : c % 3 ? Value(u"v%1"_s.arg(c)) : Value(qint32(c)));
    }
    QTest::newRow("null mask over several bytes") << QList<Table>{wide};

    QTest::newRow("several tables") << QList<Table>{wordsTable(300), nulls, numbers, texts};

    // One row a page: the data pages outgrow what one usage bitmap page covers.
    Table pages{u"pages"_s, {{u"ID"_s, ColumnType::Long, 0}}, {}};
    const Value longText(QString(255, QChar(0x0416)));
    for (int c = 0; c < 4; ++c)
        pages.columns.append({u"T%1"_s.arg(c), ColumnType::Text, 255});
    for (int r = 0; r < 33000; ++r)
        pages.rows.append({Value(qint32(r)), longText, longText, longText, longText});
    QTest::newRow("data pages past one usage bitmap") << QList<Table>{pages};
}

void TestJet4Writer::readByMdbtools()
{
    if (!m_haveMdbtools)
        QSKIP(mdbtools::Missing);
    QFETCH(QList<Table>, tables);
    const QString path = written(m_dir, u"mdbtools.mdb"_s, tables);

    const auto version = mdbtools::run(u"mdb-ver"_s, {path});
    QVERIFY(version);
    QCOMPARE(version->trimmed(), QByteArray("JET4"));

    QStringList names;
    for (const Table &t : tables)
        names.append(t.name);
    QCOMPARE(mdbtools::tables(path).value_or(QStringList{u"(failed)"_s}), names);

    for (const Table &t : tables) {
        const auto rows = mdbtools::exportRows(path, t.name);
        QVERIFY2(rows, qPrintable(t.name));
        QCOMPARE(*rows, expectedRows(t));
    }
}

void TestJet4Writer::readByMdbReader()
{
    if (!m_haveMdbReader)
        QSKIP(mdbreader::Missing);
    QFETCH(QList<Table>, tables);
    const QString path = written(m_dir, u"mdbreader.mdb"_s, tables);
    const QJsonObject read = mdbreader::read(path);
    QCOMPARE(read.keys().size(), tables.size());
    for (const Table &t : tables) {
        const QJsonObject table = read.value(t.name).toObject();
        QJsonArray columns;
        for (const Column &c : t.columns)
            columns.append(c.name);
        QCOMPARE(table.value(u"columns"_s).toArray(), columns);
        const QJsonArray rows = table.value(u"rows"_s).toArray();
        QCOMPARE(rows.size(), t.rows.size());
        for (qsizetype r = 0; r < rows.size(); ++r) {
            QJsonArray expected;
            for (const Value &v : t.rows[r])
                expected.append(asJson(v));
            QCOMPARE(rows[r].toArray().toVariantList(), expected.toVariantList());
        }
    }
}

void TestJet4Writer::refusesBadTables_data()
{
    QTest::addColumn<QList<Table>>("tables");
    QTest::addColumn<QString>("error");

    Table t = wordsTable(3);
    t.rows[1][0] = Value(u"7"_s);
    QTest::newRow("a text in a Long column") << QList<Table>{t} << u"wrong type"_s;
    t = wordsTable(3);
    t.rows[2][2] = Value(qint32(7));
    QTest::newRow("a number in a Text column") << QList<Table>{t} << u"wrong type"_s;
    t = wordsTable(3);
    t.rows[0][1] = Value(QString(51, u'x'));
    QTest::newRow("a text longer than its column") << QList<Table>{t} << u"longer than 50"_s;
    t = wordsTable(3);
    t.rows[0].removeLast();
    QTest::newRow("a row with a value missing") << QList<Table>{t} << u"2 values for 3"_s;
    t = wordsTable(1);
    t.columns.clear();
    t.rows.clear();
    QTest::newRow("a table without columns") << QList<Table>{t} << u"no columns"_s;
    QTest::newRow("table names are unique regardless of case")
        << QList<Table>{wordsTable(1), Table{u"Words"_s, {{u"X"_s, ColumnType::Long, 0}}, {}}}
        << u"twice"_s;
    t = wordsTable(1);
    t.name = u"MSysObjects"_s;
    QTest::newRow("the catalog's name is taken") << QList<Table>{t} << u"not a usable"_s;
    t = wordsTable(1);
    t.columns[2].length = 256;
    QTest::newRow("a Text column over 255 characters") << QList<Table>{t} << u"1 to 255"_s;
    Table big{u"big"_s, {}, {{}}};
    for (int c = 0; c < 9; ++c) {
        big.columns.append({u"c%1"_s.arg(c), ColumnType::Text, 255});
        big.rows[0].append(Value(QString(255, QChar(0x0416))));
    }
    QTest::newRow("a row over one page") << QList<Table>{big} << u"too long"_s;
    Table many = wordsTable(0);
    for (int c = 3; c < 150; ++c)
        many.columns.append({u"a rather long column name %1"_s.arg(c), ColumnType::Long, 0});
    QTest::newRow("a definition over one page") << QList<Table>{many} << u"one page"_s;
}

void TestJet4Writer::refusesBadTables()
{
    QFETCH(QList<Table>, tables);
    QFETCH(QString, error);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString message;
    QVERIFY(!jet4::writeDatabase(&buffer, tables, &message));
    QVERIFY2(message.contains(error), qPrintable(message));
    QCOMPARE(buffer.size(), 0);
}

void TestJet4Writer::failedWriteKeepsExistingFile()
{
    const QString path = m_dir.filePath(u"kept.mdb"_s);
    QVERIFY(jet4::writeDatabaseFile(path, {wordsTable(5)}, nullptr));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    Table bad = wordsTable(5);
    bad.rows[4][0] = Value(u"no"_s);
    QVERIFY(!jet4::writeDatabaseFile(path, {bad}, nullptr));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestJet4Writer::textEncoding_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("empty text stores no bytes") << QString() << QByteArray();
    QTest::newRow("short text stays UTF-16") << u"ab"_s << QByteArray("a\0b\0", 4);
    QTest::newRow("Latin-1 text of three or more is compressed") << u"abé"_s
                                                                 << QByteArray("\xFF\xFE"
                                                                               "ab\xE9");
    QTest::newRow("text beyond Latin-1 stays UTF-16") << u"aΩb"_s
                                                      << QByteArray("a\0\xA9\x03"
                                                                    "b\0",
                                                                    6);
    QTest::newRow("a leading byte-order mark switches to UTF-16 at once")
        << text({QChar(0xFEFF), u'a', u'b'})
        << QByteArray("\xFF\xFE\0\xFF\xFE"
                      "a\0b\0",
                      9);
}

void TestJet4Writer::textEncoding()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, stored);
    QCOMPARE(jet4::encodeText(value), stored);
}

void TestJet4Writer::shippedWordList()
{
    QFile file(qEnvironmentVariable("DIGITOME_APP_DIR") + u"/words.txt"_s);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QStringList words = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(words.size() > 35000 && words.size() < 45000,
             qPrintable(QString::number(words.size())));

    static const QRegularExpression plain(u"^[a-z]+$"_s);
    QSet<QString> seen;
    QString previous;
    for (const QString &w : words) {
        QVERIFY2(plain.match(w).hasMatch(), qPrintable(w));
        QVERIFY2(w.size() > 1 || w == u"a" || w == u"i", qPrintable(w));
        QVERIFY2(previous < w, qPrintable(previous + u" before "_s + w));
        seen.insert(w);
        previous = w;
    }
    for (const QString &w : {u"i"_s, u"a"_s, u"if"_s, u"file"_s, u"cat"_s, u"telephone"_s})
        QVERIFY2(seen.contains(w), qPrintable(w));

    // Every plain entry of the smallest list is there, lower-cased.
    QFile list(u"/usr/share/dict/scowl/english-words.10"_s);
    QVERIFY(list.open(QIODevice::ReadOnly));
    const QStringList entries = QString::fromLatin1(list.readAll()).split(u'\n');
    for (const QString &e : entries) {
        if (plain.match(e.toLower()).hasMatch() && e.size() > 1)
            QVERIFY2(seen.contains(e.toLower()), qPrintable(e));
    }
}

void TestJet4Writer::shippedDictionaryReadByMdbtools()
{
    if (!m_haveMdbtools)
        QSKIP(mdbtools::Missing);
    const QString dir = qEnvironmentVariable("DIGITOME_APP_DIR");
    const QString path = dir + u"/dbWords.mdb"_s;
    QFile file(dir + u"/words.txt"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList words = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);

    QCOMPARE(mdbtools::run(u"mdb-ver"_s, {path}).value_or(QByteArray()).trimmed(),
             QByteArray("JET4"));
    QCOMPARE(mdbtools::tables(path).value_or(QStringList()), QStringList{u"words"_s});
    const auto rows = mdbtools::exportRows(path, u"words"_s);
    QVERIFY(rows);
    QCOMPARE(rows->size(), words.size());
    QHash<QString, QString> commonness;
    for (qsizetype i = 0; i < rows->size(); ++i) {
        const mdbtools::Row &row = rows->at(i);
        QCOMPARE(row.size(), 5); // ..., Commonness, Offensive
        QCOMPARE(row[0], std::optional<QString>(QString::number(i + 1)));
        QVERIFY(QStringList({u"0"_s, u"1"_s, u"2"_s}).contains(row[4].value_or(QString())));
        QVERIFY(row[1].has_value());
        QCOMPARE(row[2], std::optional<QString>(words[i]));
        commonness.insert(words[i], row[3].value_or(QString()));
    }
    // The commonness is the smallest list size that holds the word.
    const auto count = [&](const QString &level) {
        return std::count(commonness.cbegin(), commonness.cend(), level);
    };
    QCOMPARE(count(u"10"_s) + count(u"20"_s) + count(u"35"_s), commonness.size());
    QVERIFY2(count(u"10"_s) > 3000 && count(u"20"_s) > 3000 && count(u"35"_s) > 20000,
             qPrintable(u"%1 %2 %3"_s.arg(count(u"10"_s)).arg(count(u"20"_s)).arg(count(u"35"_s))));
    for (const auto &[word, level] : {std::pair(u"the"_s, u"10"_s),
                                      std::pair(u"flowers"_s, u"20"_s),
                                      std::pair(u"painter"_s, u"35"_s)})
        QCOMPARE(commonness.value(word), level);
}

void TestJet4Writer::shippedDictionaryReadByMdbReader()
{
    if (!m_haveMdbReader)
        QSKIP(mdbreader::Missing);
    const QString dir = qEnvironmentVariable("DIGITOME_APP_DIR");
    QFile file(dir + u"/words.txt"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList words = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    const QJsonObject read = mdbreader::read(dir + u"/dbWords.mdb"_s);
    const QJsonArray rows = read.value(u"words"_s).toObject().value(u"rows"_s).toArray();
    QCOMPARE(rows.size(), words.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QJsonArray row = rows[i].toArray();
        QCOMPARE(row.at(2).toString(), words[i]);
        QVERIFY2(QList<int>({10, 20, 35}).contains(row.at(3).toInt()), qPrintable(words[i]));
    }
}

QTEST_GUILESS_MAIN(TestJet4Writer)
#include "tst_jet4writer.moc"
