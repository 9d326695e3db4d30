// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/DialledNumber.h"
#include "engine/LineRanking.h"
#include "tests/support/ConversionLines.h"
#include "tests/support/CsvReader.h"
#include "tests/support/JetFixtures.h"
#include "tests/support/MdbWords.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TestHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray linesOf(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join(u'\n') + u'\n').toUtf8();
}

struct Run
{
    int status = -1;
    QByteArray output;
    QString error;
};

// digitome-convert with these arguments and standard input, without a
// per-user dictionary.
Run convert(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, u"/nonexistent"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(DIGITOME_CONVERT), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(),
            process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

// One line of the machine-readable formats, read back.
struct Record
{
    QString number;
    QString line;
    qint64 score = -1;
    QStringList words;
    int offensive = -1;
    QMap<QString, qint64> parts;
};

const QStringList Fields{u"number"_s, u"line"_s, u"score"_s, u"words"_s, u"offensive"_s};
const QStringList Parts{
    u"pieces"_s, u"letters"_s, u"longest_word"_s, u"commonness"_s, u"prefix_kept"_s};

// A row of fields in the order of Fields, then Parts.
std::optional<Record> recordOf(const QStringList &fields, bool explain)
{
    if (fields.size() != Fields.size() + (explain ? Parts.size() : 0))
        return std::nullopt;
    Record record{fields[0],
                  fields[1],
                  fields[2].toLongLong(),
                  fields[3].split(u' ', Qt::SkipEmptyParts),
                  fields[4].toInt(),
                  {}};
    for (qsizetype i = 0; explain && i < Parts.size(); ++i)
        record.parts.insert(Parts[i], fields[Fields.size() + i].toLongLong());
    return record;
}

QString unescapedTsv(QStringView field)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const QChar next = field[++i];
        text += next == u't' ? u'\t' : next == u'n' ? u'\n' : next == u'r' ? u'\r' : next;
    }
    return text;
}

// The records of an output, its header checked; nullopt when it is not of
// its format.
std::optional<QList<Record>> readBack(const QString &format, const QByteArray &output, bool explain)
{
    const QStringList header = Fields + (explain ? Parts : QStringList());
    QList<Record> records;
    if (format == u"json") {
        for (const QByteArray &line : output.split('\n')) {
            if (line.isEmpty())
                continue;
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
            if (error.error != QJsonParseError::NoError
                || object.keys().size() != Fields.size() + (explain ? 1 : 0))
                return std::nullopt;
            Record record{object[u"number"].toString(),
                          object[u"line"].toString(),
                          object[u"score"].toInteger(-1),
                          {},
                          object[u"offensive"].toInt(-1),
                          {}};
            for (const QJsonValue word : object[u"words"].toArray())
                record.words.append(word.toString());
            const QJsonObject parts = object[u"explain"].toObject();
            for (auto part = parts.begin(); part != parts.end(); ++part)
                record.parts.insert(part.key(), part.value().toInteger());
            records.append(record);
        }
        return records;
    }
    QList<QStringList> rows;
    if (format == u"csv") {
        const std::optional<QList<QStringList>> read =
            testsupport::readCsv(QString::fromUtf8(output));
        if (!read || !output.endsWith("\r\n"))
            return std::nullopt;
        rows = *read;
    } else {
        for (const QString &line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
            QStringList fields;
            for (const QStringView field : QStringView(line).split(u'\t'))
                fields.append(unescapedTsv(field));
            rows.append(fields);
        }
    }
    if (rows.isEmpty() || rows.takeFirst() != header)
        return std::nullopt;
    for (const QStringList &row : rows) {
        const std::optional<Record> record = recordOf(row, explain);
        if (!record)
            return std::nullopt;
        records.append(*record);
    }
    return records;
}

// The ratings of the word list the shipped dictionary was rated from.
const QHash<QString, int> &ratedWords()
{
    static const QHash<QString, int> words = [] {
        QHash<QString, int> rated;
        QFile file(QStringLiteral(DIGITOME_OFFENSIVE_WORDS));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", DIGITOME_OFFENSIVE_WORDS);
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split('\t');
            if (fields.size() == 2)
                rated.insert(QString::fromUtf8(fields[0]), fields[1].toInt());
        }
        return rated;
    }();
    return words;
}

// The highest rating among the pieces of a line.
int expectedRating(const QString &line)
{
    int highest = 0;
    for (const QString &piece : line.split(u'-', Qt::SkipEmptyParts))
        highest = std::max(highest, ratedWords().value(piece.toLower()));
    return highest;
}

} // namespace

// The real digitome-convert: arguments and standard input against standard
// output, the exit status and the message on standard error.
class TestConvert : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase();
    void run_data();
    void run();
    void offensiveLines_data();
    void offensiveLines();
    void formatsReadBack_data();
    void formatsReadBack();
    void rankNumbers_data();
    void rankNumbers();
    void jobsGiveTheOutputOfOneJob_data();
    void jobsGiveTheOutputOfOneJob();
    void closedOutputEndsTheRun_data();
    void closedOutputEndsTheRun();
};

void TestConvert::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // The per-user data folder of the row "a dictionary in the per-user data folder".
    testsupport::writeFile(m_dir.filePath(u"user/Tarrowen/Digitome/dbWords.mdb"_s),
                           fixtures::build({fixtures::wordsTable({u"i"_s, u"if"_s, u"file"_s})}));
    testsupport::writeFile(m_dir.filePath(u"words.txt"_s), "If\r\nfile\n\ni\nhe\nfile\neh\n");
    testsupport::writeFile(m_dir.filePath(u"junk.mdb"_s), QByteArray("\x01\x02\0\x03", 4));
    testsupport::writeFile(m_dir.filePath(u"keyless.txt"_s),
                           u"M\u00fcller\n\u05e9\u05dc\u05d5\u05dd\nx\u20ac\n"_s.toUtf8());
    testsupport::writeFile(m_dir.filePath(u"damaged.txt"_s), "If\nfile\ni\nbad\x01\nhe\neh\n");
    testsupport::writeFile(m_dir.filePath(u"ace.accdb"_s),
                           QByteArray("\0\1\0\0Standard ACE DB\0", 20) + QByteArray(8192, '\0'));
    for (const char *kind : {"fifo", "fifo link", "socket"})
        testsupport::makeSpecialFile(QString::fromLatin1(kind),
                                     m_dir.filePath(QString::fromLatin1(kind)));
    // A damaged copy of a real database: its page of rows cut off.
    testsupport::writeFile(m_dir.filePath(u"cut.mdb"_s),
                           fixtures::build({fixtures::wordsTable({u"cab"_s})}).left(8192));
}

void TestConvert::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");
    // A part of standard error, "{user}" standing for the per-user dbWords.mdb;
    // empty: none at all.
    QTest::addColumn<QString>("error");
    // How the run is set up: "user: KIND" puts a dbWords.mdb of that kind
    // ("words", "damaged" or a special file) into the per-user data folder,
    // "input: folder|closed" and "output: full" redirect the program.
    QTest::addColumn<QString>("setup");

    const QString words = m_dir.filePath(u"words.txt"_s);
    const auto window = [](const QStringList &numbers, const QString &mode, bool original) {
        return linesOf(testsupport::convertedLines(
            testsupport::shippedWords(), numbers, testsupport::optionsOf(mode, original)));
    };
    const QStringList vanity = {u"1-800-356-9377"_s, u"(646) 266-5464"_s, u"434-3453"_s};

    QTest::newRow("arguments, words only: the window's lines")
        << vanity << QByteArray() << 0 << window(vanity, u"words"_s, false) << QString()
        << QString();
    QTest::newRow("standard input, CR LF, words and numbers with the number")
        << QStringList{u"--mode"_s, u"mixed"_s, u"--with-original"_s}
        << QByteArray("1-800-356-9377\r\n\r\n(646) 266-5464\n434-3453") << 0
        << window(vanity, u"mixed"_s, true) << QString() << QString();
    QTest::newRow("spelled out, after --")
        << QStringList{u"--mode"_s, u"spell"_s, u"--"_s, u"-12 3"_s} << QByteArray() << 0
        << window({u"-12 3"_s}, u"spell"_s, false) << QString() << QString();
    QTest::newRow("spelled out in Greek")
        << QStringList{u"--mode"_s, u"spell"_s, u"--language"_s, u"el"_s, u"(07) 1-x"_s}
        << QByteArray() << 0 << QByteArray("μηδέν επτά   ένα x\n") << QString() << QString();
    QTest::newRow("English by its code")
        << QStringList{u"--mode=spell"_s, u"--language=en"_s, u"434-3453"_s} << QByteArray() << 0
        << window({u"434-3453"_s}, u"spell"_s, false) << QString() << QString();
    QTest::newRow("first lines")
        << QStringList{u"--mode=mixed"_s, u"--top"_s, u"2"_s, vanity[0]} << QByteArray() << 0
        << linesOf(QString::fromUtf8(window({vanity[0]}, u"mixed"_s, false)).split(u'\n').first(2))
        << QString() << QString();
    QTest::newRow("best lines, each number on its own")
        << QStringList{u"--mode"_s, u"mixed"_s, u"--order"_s, u"best"_s, u"--top"_s, u"2"_s}
        << QByteArray("1-800-356-9377\n(800) 724-6837\n") << 0
        << QByteArray("1-800-FLOWERS\n1800-FLOWERS\n800--PAINTER\n8-00--PAINTER\n") << QString()
        << QString();
    QTest::newRow("a text dictionary, lower-cased, repeats skipped")
        << QStringList{u"--words"_s, words, u"434-3453"_s} << QByteArray() << 0
        << QByteArray("HE-I-FILE\nI-EH-FILE\nIF-I-FILE\n") << QString() << QString();
    QTest::newRow("words with letters on no key are skipped and counted once")
        << QStringList{u"--words"_s, m_dir.filePath(u"keyless.txt"_s), u"685537"_s} << QByteArray()
        << 0 << u"M\u00dcLLER\n"_s.toUtf8()
        << u"2 words of the dictionary hold letters on no telephone key"_s << QString();

    QTest::newRow("letters to the digits they dial")
        << QStringList{u"--mode=digits"_s, u"1-800-FLOWERS"_s, u"(212) MY-PIZZA"_s} << QByteArray()
        << 0 << QByteArray("1-800-356-9377\n(212) 69-74992\n") << QString() << QString();
    QTest::newRow("letters beyond the plan are said")
        << QStringList{u"--mode=digits"_s, u"800-FLOWERS-NOW"_s} << QByteArray() << 0
        << QByteArray("800-3569377-669\n")
        << u"800-FLOWERS-NOW: longer than a North American number (10 digits): the last "
           u"letters NOW are not dialled"_s
        << QString();
    QTest::newRow("letters on no key are kept and said")
        << QStringList{u"--mode=digits"_s, u"--with-original"_s, u"1-800-שלום"_s} << QByteArray()
        << 0 << u"1-800-שלום   -   1-800-שלום\n"_s.toUtf8()
        << u"1-800-שלום: letters on no telephone key are kept as typed: שלום"_s << QString();
    QTest::newRow(
        "numbers ranked when spelled out: all equal, in input order, --top counts numbers")
        << QStringList{u"--mode=spell"_s,
                       u"--rank-numbers"_s,
                       u"--top=2"_s,
                       u"12"_s,
                       u"34"_s,
                       u"56"_s}
        << QByteArray() << 0 << QByteArray("one two\nthree four\n") << QString() << QString();
    QTest::newRow("an unknown format")
        << QStringList{u"--format"_s, u"xml"_s, u"1"_s} << QByteArray() << 2 << QByteArray()
        << u"--format must be text, tsv, csv or json"_s << QString();
    QTest::newRow("an unknown way with offensive lines")
        << QStringList{u"--offensive=blur"_s, u"1"_s} << QByteArray() << 2 << QByteArray()
        << u"--offensive must be show, mark or hide, not 'blur'"_s << QString();
    QTest::newRow("--jobs 0") << QStringList{u"--jobs=0"_s, u"1"_s} << QByteArray() << 2
                              << QByteArray() << u"--jobs needs a whole number"_s << QString();
    QTest::newRow("--jobs not a number")
        << QStringList{u"--jobs"_s, u"all"_s, u"1"_s} << QByteArray() << 2 << QByteArray()
        << u"--jobs"_s << QString();
    QTest::newRow("--jobs far beyond the cores is lowered, and said")
        << QStringList{u"--jobs=100000"_s, u"--mode=spell"_s, u"12"_s} << QByteArray() << 0
        << QByteArray("one two\n") << u"--jobs 100000 is more than"_s << QString();
    QTest::newRow("--top 0") << QStringList{u"--top"_s, u"0"_s, u"1"_s} << QByteArray() << 2
                             << QByteArray() << u"--top"_s << QString();
    QTest::newRow("--top below 0") << QStringList{u"--top=-3"_s, u"1"_s} << QByteArray() << 2
                                   << QByteArray() << u"--top"_s << QString();
    QTest::newRow("--top not a number") << QStringList{u"--top"_s, u"3x"_s, u"1"_s} << QByteArray()
                                        << 2 << QByteArray() << u"--top"_s << QString();
    QTest::newRow("an unknown mode") << QStringList{u"--mode"_s, u"all"_s, u"1"_s} << QByteArray()
                                     << 2 << QByteArray() << u"--mode"_s << QString();
    QTest::newRow("an unknown order")
        << QStringList{u"--order"_s, u"worst"_s, u"1"_s} << QByteArray() << 2 << QByteArray()
        << u"--order"_s << QString();
    QTest::newRow("an unknown language, the valid codes listed")
        << QStringList{u"--mode=spell"_s, u"--language"_s, u"EN"_s, u"1"_s} << QByteArray() << 2
        << QByteArray() << u"en, de, fr, es, it, pl, ru, uk, bg, el, not 'EN'"_s << QString();
    QTest::newRow("an unknown option") << QStringList{u"--fast"_s, u"1"_s} << QByteArray() << 2
                                       << QByteArray() << u"Unknown option 'fast'"_s << QString();
    QTest::newRow("a number that begins with - before --")
        << QStringList{u"-5551234"_s} << QByteArray() << 2 << QByteArray() << u"Unknown option"_s
        << QString();
    QTest::newRow("a missing dictionary")
        << QStringList{u"--words"_s, m_dir.filePath(u"none.mdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"none.mdb"_s << QString();
    QTest::newRow("a dictionary of binary junk")
        << QStringList{u"--words"_s, m_dir.filePath(u"junk.mdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"neither a Jet database nor"_s << QString();
    QTest::newRow("a damaged database")
        << QStringList{u"--words"_s, m_dir.filePath(u"cut.mdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"cut.mdb"_s << QString();
    QTest::newRow("empty standard input")
        << QStringList() << QByteArray() << 0 << QByteArray() << QString() << QString();
    QTest::newRow("binary junk on standard input")
        << QStringList() << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18) << 1
        << QByteArray() << u"not UTF-8 text"_s << QString();
    QTest::newRow("control characters on a line: that line is left out, the rest converted")
        << QStringList() << QByteArray("\x01\x02\n434-3453\n") << 1
        << window({u"434-3453"_s}, u"words"_s, false)
        << u"line 1 of standard input holds control characters"_s << QString();
    QTest::newRow("a line that is no UTF-8: left out, the rest converted")
        << QStringList{u"--mode"_s, u"spell"_s} << QByteArray("12\n\xff\n34") << 1
        << QByteArray("one two\nthree four\n") << u"line 2 of standard input is not UTF-8 text"_s
        << QString();
    QTest::newRow("a line above 1 MB: left out with its number, the rest converted")
        << QStringList{u"--mode"_s, u"spell"_s}
        << "12\n" + QByteArray((1 << 20) + 1, '7') + "\r\n\n34\n"
        << 1 << QByteArray("one two\nthree four\n")
        << u"line 2 of standard input is longer than 1 MB; left out"_s << QString();
    QTest::newRow("a line of 1 MB before its CR LF is converted")
        << QStringList{u"--mode"_s, u"spell"_s} << QByteArray(1 << 20, '7') + "\r\n"
        << 0 << window({QString(1 << 20, u'7')}, u"spell"_s, false) << QString() << QString();
    QTest::newRow("standard input a folder")
        << QStringList() << QByteArray() << 1 << QByteArray()
        << u"cannot read standard input: Is a directory"_s << u"input: folder"_s;
    QTest::newRow("standard input closed")
        << QStringList() << QByteArray() << 1 << QByteArray()
        << u"cannot read standard input: it is closed"_s << u"input: closed"_s;
    QTest::newRow("a mnemonic number of 100,000 characters is left out, the others converted")
        << QStringList() << QByteArray(100000, '7') + "\n434-3453\n"
        << 1 << window({u"434-3453"_s}, u"words"_s, false) << u"(100000 characters): too long"_s
        << QString();
    QTest::newRow("spelled out, the same number converts")
        << QStringList{u"--mode"_s, u"spell"_s} << QByteArray(100000, '7') << 0
        << window({QString(100000, u'7')}, u"spell"_s, false) << QString() << QString();
    QTest::newRow("a number with too many readings stops")
        << QStringList{u"--mode"_s, u"mixed"_s, QString(28, u'2') + u'!'} << QByteArray() << 1
        << QByteArray() << u"too many readings"_s << QString();
    QTest::newRow("--top beyond any count, best first")
        << QStringList{u"--mode=mixed"_s,
                       u"--order=best"_s,
                       u"--top=9223372036854775807"_s,
                       vanity[0]}
        << QByteArray() << 0 <<
        [&] {
            engine::RankedLines ranked(testsupport::shippedWords(), vanity[0]);
            for (const QString &line : QString::fromUtf8(window({vanity[0]}, u"mixed"_s, false))
                                           .split(u'\n', Qt::SkipEmptyParts))
                ranked.add(line);
            return linesOf(ranked.best());
        }()
        << QString() << QString();

    // The per-user dictionary is taken whatever it is, and refused with the
    // window's report.
    const std::pair<const char *, QString> userKinds[] = {
        {"damaged", u"Unrecognized database format '{user}'."_s},
        {"fifo", u"Cannot open the file '{user}': Is a named pipe."_s},
        {"zero link", u"Cannot open the file '{user}': Is a device."_s},
        {"folder", u"Cannot open '{user}': it is a folder, not a database file."_s},
        {"dangling link", u"Could not find file '{user}'."_s},
        {"link loop", u"Cannot open the file '{user}': Too many levels of symbolic links."_s},
    };
    for (const auto &[kind, report] : userKinds)
        QTest::addRow("a per-user dictionary: %s", kind)
            << QStringList{u"434-3453"_s} << QByteArray() << 1 << QByteArray() << report
            << u"user: "_s + QString::fromLatin1(kind);
    // --words names no regular file.
    const std::pair<QString, QString> wordFiles[] = {
        {m_dir.filePath(u"fifo"_s), u"Is a named pipe."_s},
        {m_dir.filePath(u"fifo link"_s), u"Is a named pipe."_s},
        {m_dir.filePath(u"socket"_s), u"Is a socket."_s},
        {u"/dev/zero"_s, u"Is a device."_s},
        {u"/dev/urandom"_s, u"Is a device."_s},
    };
    for (const auto &[path, problem] : wordFiles)
        QTest::addRow("--words %s", qPrintable(path))
            << QStringList{u"--words"_s, path, u"1"_s} << QByteArray() << 1 << QByteArray()
            << u"Cannot open the file '%1': %2"_s.arg(path, problem) << QString();
    QTest::newRow("--words a folder")
        << QStringList{u"--words"_s, m_dir.path(), u"1"_s} << QByteArray() << 1 << QByteArray()
        << u"it is a folder, not a database file."_s << QString();
    QTest::newRow("--words an Access file of a later version")
        << QStringList{u"--words"_s, m_dir.filePath(u"ace.accdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"Unrecognized database format"_s << QString();
    QTest::newRow("a text dictionary with a damaged line: said, the rest used")
        << QStringList{u"--words"_s, m_dir.filePath(u"damaged.txt"_s), u"434-3453"_s}
        << QByteArray() << 1 << QByteArray("HE-I-FILE\nI-EH-FILE\nIF-I-FILE\n")
        << u"1 damaged line(s) skipped"_s << QString();

    QTest::newRow("a dictionary in the per-user data folder comes first")
        << QStringList{u"434-3453"_s} << QByteArray() << 0 << QByteArray("IF-I-FILE\n") << QString()
        << u"user: words"_s;
    QTest::newRow("standard output on a full disk")
        << QStringList{u"--mode"_s, u"spell"_s, u"123"_s} << QByteArray() << 1 << QByteArray()
        << u"cannot write standard output: No space left on device"_s << u"output: full"_s;
    QTest::newRow("--help") << QStringList{u"--help"_s} << QByteArray() << 0 << QByteArray()
                            << QString() << QString();
    QTest::newRow("--version") << QStringList{u"--version"_s} << QByteArray() << 0
                               << QByteArray("digitome-convert 1.0.0\n") << QString() << QString();
}

void TestConvert::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QString, error);
    QFETCH(QString, setup);

    QProcess convert;
    QTemporaryDir userData; // a per-user data folder of the row's own
    const QString userFile = userData.filePath(u"Tarrowen/Digitome/dbWords.mdb"_s);
    QString dataHome = m_dir.filePath(u"none"_s);
    if (setup == u"user: words") {
        dataHome = m_dir.filePath(u"user"_s);
    } else if (setup.startsWith(u"user: ")) {
        dataHome = userData.path();
        QDir().mkpath(QFileInfo(userFile).path());
        if (setup == u"user: damaged")
            testsupport::writeFile(userFile, "not a database");
        else
            testsupport::makeSpecialFile(setup.sliced(6), userFile);
    }
    error.replace(u"{user}"_s, userFile);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, dataHome);
    convert.setProcessEnvironment(environment);
    if (setup == u"output: full")
        convert.setStandardOutputFile(u"/dev/full"_s);
    if (setup == u"input: folder")
        convert.setStandardInputFile(m_dir.path());
    if (setup == u"input: closed")
        convert.start(
            u"/bin/sh"_s,
            QStringList{u"-c"_s, u"exec \"$0\" \"$@\" <&-"_s, QStringLiteral(DIGITOME_CONVERT)}
                + arguments);
    else
        convert.start(QStringLiteral(DIGITOME_CONVERT), arguments);
    QVERIFY(convert.waitForStarted());
    if (!setup.startsWith(u"input: "))
        convert.write(input);
    convert.closeWriteChannel();
    QVERIFY2(convert.waitForFinished(60000), "digitome-convert did not finish in 60 s");
    const QByteArray out = convert.readAllStandardOutput();
    const QString err = QString::fromUtf8(convert.readAllStandardError());
    QCOMPARE(convert.exitStatus(), QProcess::NormalExit);
    QCOMPARE(convert.exitCode(), status);
    if (QByteArray(QTest::currentDataTag()) == "--help")
        QVERIFY(out.contains("--order <order>") && out.contains("[--] [number...]"));
    else
        QCOMPARE(out, output);
    if (error.isEmpty())
        QCOMPARE(err, QString());
    else
        QVERIFY2(err.startsWith(u"digitome-convert: "_s) && err.contains(error), qPrintable(err));
}

void TestConvert::offensiveLines_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("top"); // -1: none

    const QStringList numbers{u"227-8273"_s, u"1-800-946-7300"_s, u"277-2277"_s};
    QTest::newRow("words only") << QStringList{u"--mode=words"_s} + numbers << -1;
    QTest::newRow("words and numbers, the numbers appended")
        << QStringList{u"--mode=mixed"_s, u"--with-original"_s} + numbers << -1;
    QTest::newRow("best first: hidden lines do not count for --top")
        << QStringList{u"--mode=mixed"_s, u"--order=best"_s, numbers[2]} << 40;
}

// show prints the lines as without the option; mark appends " [!]" to a line
// holding a word of the rated list, hide leaves those lines out.
void TestConvert::offensiveLines()
{
    QFETCH(QStringList, options);
    QFETCH(int, top);
    const Run plain = convert(options);
    QCOMPARE(plain.status, 0);
    const QStringList lines = QString::fromUtf8(plain.output).split(u'\n', Qt::SkipEmptyParts);
    QStringList marked;
    QStringList kept;
    for (const QString &line : lines) {
        const bool rated = expectedRating(line.section(u' ', 0, 0)) > 0;
        marked.append(rated ? line + u" [!]"_s : line);
        if (!rated)
            kept.append(line);
    }
    QVERIFY(kept.size() < lines.size() && !kept.isEmpty());
    QStringList limit;
    if (top >= 0)
        limit << u"--top"_s << QString::number(top);
    if (top >= 0) {
        QVERIFY(lines.size() > top && kept.size() > top);
        marked = marked.first(top);
        kept = kept.first(top);
    }
    QCOMPARE(convert(options + limit + QStringList{u"--offensive=show"_s}).output,
             linesOf(top < 0 ? lines : lines.first(top)));
    QCOMPARE(convert(options + limit + QStringList{u"--offensive=mark"_s}).output, linesOf(marked));
    QCOMPARE(convert(options + limit + QStringList{u"--offensive=hide"_s}).output, linesOf(kept));
}

void TestConvert::formatsReadBack_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("numbers");

    // Quotes, backslashes, the separators, line ends and control characters
    // in the number, and so in its spelled-out line.
    const QString breaking = u"1\"2\\3\t4,5\n6\r7\u0001\u007f8\u2028 9"_s;
    for (const QString &format : {u"tsv"_s, u"csv"_s, u"json"_s}) {
        QTest::addRow("%s, best lines", qPrintable(format))
            << format << QStringList{u"--mode=mixed"_s, u"--order=best"_s, u"--top=4"_s}
            << QStringList{u"1-800-356-9377"_s, u"227-8273"_s, u"(646) 266-5464"_s};
        QTest::addRow("%s, a number that breaks quoting, spelled out", qPrintable(format))
            << format << QStringList{u"--mode=spell"_s} << QStringList{breaking, u"12"_s};
        QTest::addRow("%s, dialled digits", qPrintable(format))
            << format << QStringList{u"--mode=digits"_s}
            << QStringList{u"1-800-FLOWERS"_s, breaking};
    }
}

// Every format read back by a real parser gives the text output's lines with
// their numbers, words, ratings, scores that fall with the rank, and the
// parts of the score.
void TestConvert::formatsReadBack()
{
    QFETCH(QString, format);
    QFETCH(QStringList, options);
    QFETCH(QStringList, numbers);
    const bool mnemonic = options.first() == u"--mode=mixed";

    QList<std::pair<QString, QString>> expected; // number, line
    for (const QString &number : numbers) {
        const Run text = convert(options + QStringList{u"--"_s, number});
        QCOMPARE(text.status, 0);
        QStringList lines = QString::fromUtf8(text.output).split(u'\n', Qt::SkipEmptyParts);
        // Lines that hold line ends themselves, made here.
        if (options.first() == u"--mode=spell")
            lines = testsupport::convertedLines(
                testsupport::shippedWords(), {number}, testsupport::optionsOf(u"spell"_s));
        if (options.first() == u"--mode=digits")
            lines = QStringList{engine::dialledNumber(number).digits};
        for (const QString &line : lines)
            expected.append({number, line});
    }
    QVERIFY(expected.size() >= numbers.size());

    const Run run =
        convert(options + QStringList{u"--format"_s, format, u"--explain"_s, u"--"_s} + numbers);
    QCOMPARE(run.status, 0);
    const std::optional<QList<Record>> records = readBack(format, run.output, true);
    QVERIFY2(records, run.output.constData());
    QCOMPARE(records->size(), expected.size());
    for (qsizetype i = 0; i < records->size(); ++i) {
        const Record &record = records->at(i);
        QCOMPARE(record.number, expected[i].first);
        QCOMPARE(record.line, expected[i].second);
        QStringList partNames = Parts;
        partNames.sort();
        QCOMPARE(record.parts.keys(), partNames);
        if (!mnemonic) {
            QCOMPARE(record.score, 0);
            QCOMPARE(record.offensive, 0);
            continue;
        }
        const QStringList pieces = record.line.split(u'-', Qt::SkipEmptyParts);
        QStringList words;
        for (const QString &piece : pieces) {
            if (!piece.contains(QRegularExpression(u"[0-9]"_s)))
                words.append(piece);
        }
        QCOMPARE(record.words, words);
        QCOMPARE(record.offensive, expectedRating(record.line));
        QCOMPARE(record.parts[u"pieces"_s], pieces.size());
        QCOMPARE(record.parts[u"letters"_s], words.join(QString()).size());
        QVERIFY(record.score > 0);
        if (i > 0 && records->at(i - 1).number == record.number)
            QVERIFY(record.score <= records->at(i - 1).score);
    }
}

void TestConvert::rankNumbers_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("top"); // -1: none

    QTest::newRow("words and numbers, all numbers") << QStringList{u"--mode=mixed"_s} << -1;
    QTest::newRow("words only, the two best") << QStringList{u"--mode=words"_s} << 2;
    QTest::newRow("words only, more than there are")
        << QStringList{u"--mode=words"_s, u"--offensive=hide"_s} << 100;
}

// One line per number, its best, the numbers ordered by the scores of those
// lines, equal scores in input order; numbers without a line left out.
void TestConvert::rankNumbers()
{
    QFETCH(QStringList, options);
    QFETCH(int, top);
    const QStringList numbers{u"434-3453"_s,
                              u"1-800-356-9377"_s,
                              u"0000000"_s,
                              u"227-8273"_s,
                              u"(646) 266-5464"_s,
                              u"434-3453"_s,
                              u"646-266-5464"_s,
                              u"1-800-356-9377"_s};
    const Run each = convert(
        options + QStringList{u"--order=best"_s, u"--top=1"_s, u"--format=json"_s} + numbers);
    QCOMPARE(each.status, 0);
    QList<Record> best = *readBack(u"json"_s, each.output, false);
    QVERIFY(best.size() >= 3 && best.size() < numbers.size());
    std::stable_sort(best.begin(), best.end(), [](const Record &a, const Record &b) {
        return a.score > b.score;
    });
    if (top >= 0)
        best = best.first(std::min<qsizetype>(top, best.size()));

    QStringList limit{u"--rank-numbers"_s, u"--format=json"_s};
    if (top >= 0)
        limit << u"--top"_s << QString::number(top);
    const Run ranked = convert(options + limit + numbers);
    QCOMPARE(ranked.status, 0);
    const QList<Record> records = *readBack(u"json"_s, ranked.output, false);
    QCOMPARE(records.size(), best.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        QCOMPARE(records[i].number, best[i].number);
        QCOMPARE(records[i].line, best[i].line);
        QCOMPARE(records[i].score, best[i].score);
    }
    // The text output: the same lines, the numbers appended when asked.
    limit.removeOne(u"--format=json"_s);
    QStringList lines;
    for (const Record &record : best)
        lines.append(record.line + u"   -   "_s + record.number);
    QCOMPARE(convert(options + limit + QStringList{u"--with-original"_s} + numbers).output,
             linesOf(lines));
}

void TestConvert::jobsGiveTheOutputOfOneJob_data()
{
    QTest::addColumn<QStringList>("options");

    QTest::newRow("words and numbers, as found") << QStringList{u"--mode=mixed"_s};
    QTest::newRow("best lines as JSON")
        << QStringList{u"--mode=mixed"_s, u"--order=best"_s, u"--top=3"_s, u"--format=json"_s};
    QTest::newRow("numbers ranked") << QStringList{u"--mode=mixed"_s, u"--rank-numbers"_s};
    QTest::newRow("spelled out") << QStringList{u"--mode=spell"_s, u"--with-original"_s};
}

// A batch of short, long, empty and broken lines converts to the same output
// and messages whatever the count of workers.
void TestConvert::jobsGiveTheOutputOfOneJob()
{
    QFETCH(QStringList, options);
    QByteArray batch;
    quint32 seed = 7;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 69069 + 1;
        const int digits = 3 + int(seed >> 29); // 3 to 10
        QByteArray number;
        for (int d = 0; d < digits; ++d) {
            seed = seed * 69069 + 1;
            number += char('0' + (seed >> 24) % 10);
        }
        batch += number + (i % 7 == 0 ? "\r\n" : "\n");
        if (i % 50 == 0)
            batch += "\n\xff\xfe\n" + QByteArray(45, '5') + "\n";
    }
    const Run one = convert(options + QStringList{u"--jobs=1"_s}, batch);
    QCOMPARE(one.status, 1); // the broken lines
    QVERIFY(one.output.count('\n') > 100);
    QVERIFY(one.error.count(u'\n') >= 8);
    for (const int jobs : {2, 5}) {
        const Run many = convert(options + QStringList{u"--jobs"_s, QString::number(jobs)}, batch);
        QCOMPARE(many.status, one.status);
        QCOMPARE(many.error, one.error);
        QVERIFY(many.output == one.output);
    }
}

void TestConvert::closedOutputEndsTheRun_data()
{
    QTest::addColumn<QString>("format");
    for (const QString &format : {u"text"_s, u"tsv"_s, u"csv"_s, u"json"_s})
        QTest::newRow(qPrintable(format)) << format;
}

// A reader that stops reading early: the program says so and ends with 1,
// its workers stopped, long before the batch would be done.
void TestConvert::closedOutputEndsTheRun()
{
    QFETCH(QString, format);
    const QString input = m_dir.filePath(u"many-numbers.txt"_s);
    if (!QFileInfo::exists(input)) {
        QByteArray numbers;
        for (int i = 0; i < 20000; ++i)
            numbers += QByteArray::number(2'000'000'000LL + i * 7919LL) + '\n';
        testsupport::writeFile(input, numbers);
    }
    QProcess shell;
    shell.start(
        u"/bin/bash"_s,
        {u"-c"_s,
         u"\"$0\" --mode mixed --jobs 2 --format \"$1\" < \"$2\" 2> \"$2.err\" | head -c 1000 "
         u"> /dev/null; echo ${PIPESTATUS[0]}"_s,
         QStringLiteral(DIGITOME_CONVERT),
         format,
         input});
    QVERIFY2(shell.waitForFinished(60000), "digitome-convert did not end in 60 s");
    QCOMPARE(shell.readAllStandardOutput(), QByteArray("1\n"));
    QFile error(input + u".err"_s);
    QVERIFY(error.open(QIODevice::ReadOnly));
    QCOMPARE(error.readAll(),
             QByteArray("digitome-convert: cannot write standard output: Broken pipe\n"));
}

QTEST_GUILESS_MAIN(TestConvert)
#include "tst_convert.moc"
