// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tests/support/ConversionLines.h"
#include "tests/support/JetFixtures.h"
#include "tests/support/MdbWords.h"
#include "tests/support/TestHelpers.h"

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
    QTest::addColumn<QString>("error"); // a part of standard error; empty: none at all
    QTest::addColumn<bool>("userDictionary");

    const QString words = m_dir.filePath(u"words.txt"_s);
    const auto window = [](const QStringList &numbers, const QString &mode, bool original) {
        return linesOf(testsupport::convertedLines(
            testsupport::shippedWords(), numbers, testsupport::optionsOf(mode, original)));
    };
    const QStringList vanity = {u"1-800-356-9377"_s, u"(646) 266-5464"_s, u"434-3453"_s};

    QTest::newRow("arguments, words only: the window's lines")
        << vanity << QByteArray() << 0 << window(vanity, u"words"_s, false) << QString() << false;
    QTest::newRow("standard input, CR LF, words and numbers with the number")
        << QStringList{u"--mode"_s, u"mixed"_s, u"--with-original"_s}
        << QByteArray("1-800-356-9377\r\n\r\n(646) 266-5464\n434-3453") << 0
        << window(vanity, u"mixed"_s, true) << QString() << false;
    QTest::newRow("spelled out, after --")
        << QStringList{u"--mode"_s, u"spell"_s, u"--"_s, u"-12 3"_s} << QByteArray() << 0
        << window({u"-12 3"_s}, u"spell"_s, false) << QString() << false;
    QTest::newRow("spelled out in Greek")
        << QStringList{u"--mode"_s, u"spell"_s, u"--language"_s, u"el"_s, u"(07) 1-x"_s}
        << QByteArray() << 0 << QByteArray("μηδέν επτά   ένα x\n") << QString() << false;
    QTest::newRow("English by its code")
        << QStringList{u"--mode=spell"_s, u"--language=en"_s, u"434-3453"_s} << QByteArray() << 0
        << window({u"434-3453"_s}, u"spell"_s, false) << QString() << false;
    QTest::newRow("first lines")
        << QStringList{u"--mode=mixed"_s, u"--top"_s, u"2"_s, vanity[0]} << QByteArray() << 0
        << linesOf(QString::fromUtf8(window({vanity[0]}, u"mixed"_s, false)).split(u'\n').first(2))
        << QString() << false;
    QTest::newRow("best lines, each number on its own")
        << QStringList{u"--mode"_s, u"mixed"_s, u"--order"_s, u"best"_s, u"--top"_s, u"2"_s}
        << QByteArray("1-800-356-9377\n(800) 724-6837\n") << 0
        << QByteArray("1800-FLOWERS\n1-800-FLOWERS\n800--PAINTER\n8-00--PAINTER\n") << QString()
        << false;
    QTest::newRow("a text dictionary, lower-cased, repeats skipped")
        << QStringList{u"--words"_s, words, u"434-3453"_s} << QByteArray() << 0
        << QByteArray("HE-I-FILE\nI-EH-FILE\nIF-I-FILE\n") << QString() << false;

    QTest::newRow("--top 0") << QStringList{u"--top"_s, u"0"_s, u"1"_s} << QByteArray() << 2
                             << QByteArray() << u"--top"_s << false;
    QTest::newRow("--top below 0") << QStringList{u"--top=-3"_s, u"1"_s} << QByteArray() << 2
                                   << QByteArray() << u"--top"_s << false;
    QTest::newRow("--top not a number") << QStringList{u"--top"_s, u"3x"_s, u"1"_s} << QByteArray()
                                        << 2 << QByteArray() << u"--top"_s << false;
    QTest::newRow("an unknown mode") << QStringList{u"--mode"_s, u"all"_s, u"1"_s} << QByteArray()
                                     << 2 << QByteArray() << u"--mode"_s << false;
    QTest::newRow("an unknown language, the valid codes listed")
        << QStringList{u"--mode=spell"_s, u"--language"_s, u"EN"_s, u"1"_s} << QByteArray() << 2
        << QByteArray() << u"en, de, fr, es, it, pl, ru, uk, bg, el, not 'EN'"_s << false;
    QTest::newRow("an unknown order") << QStringList{u"--order"_s, u"worst"_s, u"1"_s}
                                      << QByteArray() << 2 << QByteArray() << u"--order"_s << false;
    QTest::newRow("an unknown option") << QStringList{u"--fast"_s, u"1"_s} << QByteArray() << 2
                                       << QByteArray() << u"Unknown option 'fast'"_s << false;
    QTest::newRow("a number that begins with - before --")
        << QStringList{u"-5551234"_s} << QByteArray() << 2 << QByteArray() << u"Unknown option"_s
        << false;
    QTest::newRow("a missing dictionary")
        << QStringList{u"--words"_s, m_dir.filePath(u"none.mdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"none.mdb"_s << false;
    QTest::newRow("a dictionary of binary junk")
        << QStringList{u"--words"_s, m_dir.filePath(u"junk.mdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"neither a Jet database nor"_s << false;
    QTest::newRow("a damaged database")
        << QStringList{u"--words"_s, m_dir.filePath(u"cut.mdb"_s), u"1"_s} << QByteArray() << 1
        << QByteArray() << u"cut.mdb"_s << false;
    QTest::newRow("empty standard input")
        << QStringList() << QByteArray() << 0 << QByteArray() << QString() << false;
    QTest::newRow("binary junk on standard input")
        << QStringList() << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18) << 1
        << QByteArray() << u"not UTF-8 text"_s << false;
    QTest::newRow("control characters on standard input")
        << QStringList() << QByteArray("434-3453\n\x01\x02\n") << 1 << QByteArray() << u"line 2"_s
        << false;
    QTest::newRow("a mnemonic number of 100,000 characters is left out, the others converted")
        << QStringList() << QByteArray(100000, '7') + "\n434-3453\n"
        << 1 << window({u"434-3453"_s}, u"words"_s, false) << u"(100000 characters): too long"_s
        << false;
    QTest::newRow("spelled out, the same number converts")
        << QStringList{u"--mode"_s, u"spell"_s} << QByteArray(100000, '7') << 0
        << window({QString(100000, u'7')}, u"spell"_s, false) << QString() << false;
    QTest::newRow("a number with too many readings stops")
        << QStringList{u"--mode"_s, u"mixed"_s, QString(28, u'2') + u'!'} << QByteArray() << 1
        << QByteArray() << u"too many readings"_s << false;
    QTest::newRow("a dictionary in the per-user data folder comes first")
        << QStringList{u"434-3453"_s} << QByteArray() << 0 << QByteArray("IF-I-FILE\n") << QString()
        << true;
    QTest::newRow("standard output on a full disk")
        << QStringList{u"--mode"_s, u"spell"_s, u"123"_s} << QByteArray() << 1 << QByteArray()
        << u"cannot write standard output: No space left on device"_s << false;
    QTest::newRow("--help") << QStringList{u"--help"_s} << QByteArray() << 0 << QByteArray()
                            << QString() << false;
    QTest::newRow("--version") << QStringList{u"--version"_s} << QByteArray() << 0
                               << QByteArray("digitome-convert 1.0.0\n") << QString() << false;
}

void TestConvert::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QString, error);
    QFETCH(bool, userDictionary);

    QProcess convert;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_DATA_HOME"_s, m_dir.filePath(userDictionary ? u"user"_s : u"none"_s));
    convert.setProcessEnvironment(environment);
    if (QByteArray(QTest::currentDataTag()) == "standard output on a full disk")
        convert.setStandardOutputFile(u"/dev/full"_s);
    convert.start(QStringLiteral(DIGITOME_CONVERT), arguments);
    QVERIFY(convert.waitForStarted());
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
