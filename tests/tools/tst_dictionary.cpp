// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "engine/LoadWords.h"
#include "engine/WordStore.h"
#include "platform/MdbDatabase.h"
#include "tests/support/JetFixtures.h"
#include "tests/support/MdbReaderJs.h"
#include "tests/support/MdbTools.h"
#include "tests/support/TestHelpers.h"

#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// A dictionary row as text: ID, Category, Word, Commonness.
using Row = QStringList;

struct Result
{
    int status = -1;
    QByteArray output;
    QString error;
};

// `count` different words of letters only: "aaaaa", "aaaab" ...
QStringList lettersWords(int count, int length)
{
    QStringList words;
    for (int i = 0; i < count; ++i) {
        QString word(length, u'a');
        for (int n = i, at = length - 1; n > 0 && at >= 0; n /= 26, --at)
            word[at] = QChar(u'a' + n % 26);
        words.append(word);
    }
    return words;
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF);
        const char high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

// The rows as the window's reader gives them; also loads them into a word
// store as the window does at start-up.
QList<Row> readByLibmdb(const QString &path, engine::WordStore &store)
{
    QList<Row> rows;
    platform::MdbConnection connection;
    connection.open(fixtures::connectionTextFor(path));
    const auto records = connection.openRecordSet(u"select * from words"_s);
    for (; !records->eof(); records->moveNext()) {
        Row row;
        for (int c = 0; c < records->fieldCount(); ++c)
            row.append(records->field(c).value_or(u"(null)"_s));
        rows.append(row);
    }
    engine::loadWords(connection, store);
    return rows;
}

QList<Row> readByMdbExport(const QString &path)
{
    QList<Row> rows;
    for (const mdbtools::Row &exported :
         mdbtools::exportRows(path, u"words"_s).value_or(QList<mdbtools::Row>{})) {
        Row row;
        for (const std::optional<QString> &value : exported)
            row.append(value.value_or(u"(null)"_s));
        rows.append(row);
    }
    return rows;
}

QList<Row> readByMdbReader(const QString &path)
{
    QList<Row> rows;
    const QJsonObject table = mdbreader::read(path).value(u"words"_s).toObject();
    for (const QJsonValue &read : table.value(u"rows"_s).toArray()) {
        Row row;
        for (const QJsonValue &value : read.toArray())
            row.append(value.isDouble() ? QString::number(value.toInteger()) : value.toString());
        rows.append(row);
    }
    return rows;
}

} // namespace

// The real digitome-dictionary: word lists in, a dictionary out, read back by
// three independent readers.
class TestDictionary : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    bool m_haveMdbtools = false;
    bool m_haveMdbReader = false;

    Result run(const QStringList &arguments, const QString &dataHome = QString());

private Q_SLOTS:
    void initTestCase();
    void madeDictionaryReadsBack_data();
    void madeDictionaryReadsBack();
    void commandLine_data();
    void commandLine();
    void installPutsItWhereTheProgramsTakeIt();
};

void TestDictionary::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_haveMdbtools = mdbtools::available();
    m_haveMdbReader = mdbreader::prepare();
}

Result TestDictionary::run(const QStringList &arguments, const QString &dataHome)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s,
                       dataHome.isEmpty() ? m_dir.filePath(u"no-data-home"_s) : dataHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(DIGITOME_DICTIONARY), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(),
            process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestDictionary::madeDictionaryReadsBack_data()
{
    QTest::addColumn<QList<QByteArray>>("lists");  // list1.txt, list2.txt ...
    QTest::addColumn<QByteArray>("commonness");    // none when empty
    QTest::addColumn<QList<QStringList>>("words"); // word, level, list[, rating], in row order
    QTest::addColumn<QByteArray>("offensive");     // ratings; none when empty

    const auto row = [](const QString &word, int level = 0, int list = 1) {
        return QStringList{word, QString::number(level), u"list%1.txt"_s.arg(list)};
    };
    QTest::newRow("letters of many scripts keep their spelling, lower-cased")
        << QList<QByteArray>{u"Müller\nŁÓDŹ\nКнига\nΚΆΤΙ\nstraße\nČeský\nЇжак\n"_s.toUtf8()}
        << QByteArray()
        << QList<QStringList>{row(u"müller"_s),
                              row(u"straße"_s),
                              row(u"český"_s),
                              row(u"łódź"_s),
                              row(u"κάτι"_s),
                              row(u"книга"_s),
                              row(u"їжак"_s)}
        << QByteArray();
    QTest::newRow("UTF-8 with a byte-order mark, CR LF")
        << QList<QByteArray>{"\xEF\xBB\xBF" + u"Zoë\r\nçà\r\n"_s.toUtf8()} << QByteArray()
        << QList<QStringList>{row(u"zoë"_s), row(u"çà"_s)} << QByteArray();
    QTest::newRow("UTF-16 LE and BE with byte-order marks")
        << QList<QByteArray>{utf16(u"Ωmega\r\n"_s, true), utf16(u"Ёлка\n"_s, false)} << QByteArray()
        << QList<QStringList>{row(u"ωmega"_s), row(u"ёлка"_s, 0, 2)} << QByteArray();
    QTest::newRow("Windows-1252 when the bytes are not UTF-8")
        << QList<QByteArray>{"caf\xE9\n\x9Cuvre\n"} << QByteArray()
        << QList<QStringList>{row(u"café"_s), row(u"œuvre"_s)} << QByteArray();
    QTest::newRow("decomposed letters are composed")
        << QList<QByteArray>{u"nai\u0308ve\n"_s.toUtf8()} << QByteArray()
        << QList<QStringList>{row(u"na\u00EFve"_s)} << QByteArray();
    QTest::newRow("a word in two lists once: the smaller level, the first list")
        << QList<QByteArray>{"Bach\t20\n", "bach\t10\nzug\n"} << QByteArray()
        << QList<QStringList>{row(u"bach"_s, 10), row(u"zug"_s, 0, 2)} << QByteArray();
    QTest::newRow("entries not made of letters, emoji and lines with blanks are passed over")
        << QList<QByteArray>{u"don't\n😀\nx😀\n4you\ntwo words\n\nok\n"_s.toUtf8()} << QByteArray()
        << QList<QStringList>{row(u"ok"_s)} << QByteArray();

    // Levels from the commonness list: its number, or the level of the
    // position (10 up to 5,000, 20 from 5,001); words it leaves out get 100
    // unless their list gave one.
    QByteArray ranking = "gamma\t35\nbeta\n";
    for (const QString &filler : lettersWords(4998, 7))
        ranking += filler.toUtf8() + '\n';
    ranking += "delta\n";
    QTest::newRow("levels from a commonness list")
        << QList<QByteArray>{"alpha\nbeta\ngamma\ndelta\nepsilon\t5\n"} << ranking
        << QList<QStringList>{row(u"alpha"_s, 100),
                              row(u"beta"_s, 10),
                              row(u"delta"_s, 20),
                              row(u"epsilon"_s, 5),
                              row(u"gamma"_s, 35)}
        << QByteArray();

    const auto rated = [&](const QString &word, int rating) {
        return row(word) << QString::number(rating);
    };
    QTest::newRow("ratings from an offensive list, 0 for the words it leaves out")
        << QList<QByteArray>{"bastard\nwhore\nfine\nzebra\n"} << QByteArray()
        << QList<QStringList>{rated(u"bastard"_s, 1),
                              rated(u"fine"_s, 0),
                              rated(u"whore"_s, 2),
                              rated(u"zebra"_s, 0)}
        << QByteArray("Bastard\t1\nwhore\t2\nfine\t0\nabsent\t2\n");

    // More pages than the reader keeps mapped at once.
    const QStringList many = lettersWords(250000, 6);
    QList<QStringList> manyRows;
    for (const QString &word : many)
        manyRows.append(row(word));
    QTest::newRow("a quarter of a million words")
        << QList<QByteArray>{many.join(u'\n').toUtf8()} << QByteArray() << manyRows << QByteArray();
}

void TestDictionary::madeDictionaryReadsBack()
{
    QFETCH(QList<QByteArray>, lists);
    QFETCH(QByteArray, commonness);
    QFETCH(QList<QStringList>, words);
    QFETCH(QByteArray, offensive);

    QStringList arguments{u"make"_s};
    for (qsizetype i = 0; i < lists.size(); ++i)
        arguments.append(
            testsupport::writeFile(m_dir.filePath(u"list%1.txt"_s.arg(i + 1)), lists[i]));
    if (!commonness.isEmpty())
        arguments << u"--commonness"_s
                  << testsupport::writeFile(m_dir.filePath(u"ranking.txt"_s), commonness);
    if (!offensive.isEmpty())
        arguments << u"--offensive"_s
                  << testsupport::writeFile(m_dir.filePath(u"offensive.txt"_s), offensive);
    const QString made = m_dir.filePath(u"made.mdb"_s);
    arguments << u"-o"_s << made;
    const Result result = run(arguments);
    QVERIFY2(result.status == 0, qPrintable(result.error));
    QCOMPARE(result.output,
             u"%1 %2 written to '%3'\n"_s.arg(words.size())
                 .arg(words.size() == 1 ? u"word"_s : u"words"_s, made)
                 .toUtf8());

    QList<Row> expected;
    for (qsizetype i = 0; i < words.size(); ++i)
        expected.append(QStringList{QString::number(i + 1), words[i][2], words[i][0], words[i][1]}
                        + words[i].mid(3));
    engine::WordStore store;
    QCOMPARE(readByLibmdb(made, store), expected);
    QCOMPARE(store.size(), words.size());
    QVERIFY(store.contains(words.last().first()));
    for (const QStringList &word : words)
        QCOMPARE(store.offensive(word[0]), word.value(3, u"0"_s).toInt());
    if (m_haveMdbtools)
        QCOMPARE(readByMdbExport(made), expected);
    if (m_haveMdbReader)
        QCOMPARE(readByMdbReader(made), expected);
    if (!m_haveMdbtools || !m_haveMdbReader)
        QSKIP(m_haveMdbtools ? mdbreader::Missing : mdbtools::Missing);
}

void TestDictionary::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@name": a file of the test folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error"); // a part of standard error; empty: none at all

    QTest::newRow("no command") << QStringList{} << 2 << u"no command given"_s;
    QTest::newRow("an unknown command")
        << QStringList{u"build"_s, u"@words.txt"_s} << 2 << u"unknown command 'build'"_s;
    QTest::newRow("no list") << QStringList{u"make"_s, u"-o"_s, u"@out.mdb"_s} << 2
                             << u"at least one word list"_s;
    QTest::newRow("neither -o nor --install")
        << QStringList{u"make"_s, u"@words.txt"_s} << 2 << u"-o FILE, --install or both"_s;
    QTest::newRow("an unknown option")
        << QStringList{u"make"_s, u"--fast"_s, u"@words.txt"_s, u"-o"_s, u"@out.mdb"_s} << 2
        << u"Unknown option 'fast'"_s;
    QTest::newRow("a missing list")
        << QStringList{u"make"_s, u"@missing.txt"_s, u"-o"_s, u"@out.mdb"_s} << 1
        << u"missing.txt': No such file or directory"_s;
    QTest::newRow("a folder for a list")
        << QStringList{u"make"_s, u"@folder"_s, u"-o"_s, u"@out.mdb"_s} << 1 << u"folder"_s;
    QTest::newRow("a missing commonness list") << QStringList{u"make"_s,
                                                              u"@words.txt"_s,
                                                              u"--commonness"_s,
                                                              u"@missing.txt"_s,
                                                              u"-o"_s,
                                                              u"@out.mdb"_s}
                                               << 1 << u"missing.txt': No such file or directory"_s;
    QTest::newRow("an output in a missing folder")
        << QStringList{u"make"_s, u"@words.txt"_s, u"-o"_s, u"@missing/out.mdb"_s} << 1
        << u"No such file or directory"_s;
    QTest::newRow("lists without words")
        << QStringList{u"make"_s, u"@junk.txt"_s, u"-o"_s, u"@out.mdb"_s} << 1
        << u"hold no words; nothing written"_s;
    QTest::newRow("skipped lines and entries are noted")
        << QStringList{u"make"_s, u"@words.txt"_s, u"@junk.txt"_s, u"-o"_s, u"@out.mdb"_s} << 0
        << u"junk.txt: 4 lines passed over, not one word with an optional TAB and number (the "
           u"first is line 1)\n"_s
           u"digitome-dictionary: note: 1 entry passed over, not made of letters (the first is "
           u"'4u')"_s;
    QTest::newRow("offensive ratings above 2 are noted and passed over")
        << QStringList{u"make"_s,
                       u"@words.txt"_s,
                       u"--offensive"_s,
                       u"@ratings.txt"_s,
                       u"-o"_s,
                       u"@out.mdb"_s}
        << 0 << u"ratings.txt: 1 entry passed over, ratings are 0, 1 or 2"_s;
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << QString();
}

void TestDictionary::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    testsupport::writeFile(m_dir.filePath(u"words.txt"_s), "if\nfile\n");
    // A blank, a control character, a bad number, a line too long to look at.
    testsupport::writeFile(m_dir.filePath(u"junk.txt"_s),
                           "a b\n\x01\nx\t99999\n" + QByteArray(100000, 'w') + "\n4u\n");
    testsupport::writeFile(m_dir.filePath(u"ratings.txt"_s), "if\t3\nfile\t1\n");
    QDir(m_dir.path()).mkpath(u"folder"_s);
    for (QString &argument : arguments) {
        if (argument.startsWith(u'@'))
            argument = m_dir.filePath(argument.mid(1));
    }
    const Result result = run(arguments);
    QCOMPARE(result.status, status);
    if (error.isEmpty())
        QCOMPARE(result.error, QString());
    else
        QVERIFY2(result.error.startsWith(u"digitome-dictionary: "_s)
                     && result.error.contains(error),
                 qPrintable(result.error));
    if (QByteArray(QTest::currentDataTag()) == "--version")
        QCOMPARE(result.output, QByteArray("digitome-dictionary 1.0.0\n"));
}

// --install puts dbWords.mdb into the per-user data folder (made private),
// replacing the one there; the converter (and the window) take it from there.
void TestDictionary::installPutsItWhereTheProgramsTakeIt()
{
    const QString dataHome = m_dir.filePath(u"home/.local/share"_s);
    const QString installed = dataHome + u"/Tarrowen/Digitome/dbWords.mdb"_s;
    const QString english = testsupport::writeFile(m_dir.filePath(u"en.txt"_s), "i\nif\nfile\n");
    const QString other = testsupport::writeFile(m_dir.filePath(u"xx.txt"_s), "he\neh\n");

    Result result = run({u"make"_s, other, u"--install"_s}, dataHome);
    QCOMPARE(result.status, 0);
    QCOMPARE(result.output,
             u"2 words installed as '%1': Digitome takes it at its next start\n"_s.arg(installed)
                 .toUtf8());
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                            | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                            | QFileDevice::WriteOther | QFileDevice::ExeOther;
    for (const QString &folder : {u"/Tarrowen"_s, u"/Tarrowen/Digitome"_s})
        QCOMPARE(int(QFileInfo(dataHome + folder).permissions() & others), 0);

    const QString copy = m_dir.filePath(u"copy.mdb"_s);
    result = run({u"make"_s, english, u"-o"_s, copy, u"--install"_s}, dataHome);
    QCOMPARE(result.status, 0);
    QCOMPARE(fixtures::load(installed), fixtures::load(copy));

    QProcess convert;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, dataHome);
    convert.setProcessEnvironment(environment);
    convert.start(QStringLiteral(DIGITOME_CONVERT), {u"434-3453"_s});
    QVERIFY(convert.waitForFinished(60000));
    QCOMPARE(convert.readAllStandardOutput(), QByteArray("IF-I-FILE\n"));
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
