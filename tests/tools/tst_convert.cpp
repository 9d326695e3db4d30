// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineRanking.h"
#include "tests/support/ConversionLines.h"
#include "tests/support/JetFixtures.h"
#include "tests/support/MdbWords.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TestHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray linesOf(const QStringList &lines)
{
    return lines.isEmpty() ? QByteArray() : (lines.join(u'\n') + u'\n').toUtf8();
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
        {"link loop", u"Could not find file '{user}'."_s},
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

QTEST_GUILESS_MAIN(TestConvert)
#include "tst_convert.moc"
