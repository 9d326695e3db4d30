// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordListReader.h"
#include "engine/WordStore.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype Piece = qsizetype(1) << 20; // what the reader reads at a time

QByteArray encoded(QStringEncoder::Encoding encoding, const QString &text)
{
    QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
    return encoder(text);
}

// The store as "word" or "word=level", sorted.
QStringList contentsOf(const engine::WordStore &store)
{
    QStringList words;
    for (const QString &word : store.words()) {
        const int level = store.commonness(word);
        words.append(level == 0 ? word : u"%1=%2"_s.arg(word).arg(level));
    }
    words.sort();
    return words;
}

// Every line the reader hands on: "word@line", "word<TAB>rest@line" or
// "#why@line".
class LineRecorder : public engine::WordListSink
{
public:
    QStringList lines;

    void take(const engine::WordListEntry &entry) override
    {
        QString line = entry.word.toString();
        if (entry.hasTab)
            line += u'\t' + entry.afterTab.toString();
        lines.append(line + u'@' + QString::number(entry.line));
    }
    void passOver(engine::PassedOverLine why, qsizetype line) override
    {
        const char16_t *names[] = {u"#blank", u"#noword", u"#damaged"};
        lines.append(QString::fromUtf16(names[int(why)]) + u'@' + QString::number(line));
    }
};

} // namespace

class TestWordListReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void linesAsTheyAreHandedOn_data();
    void linesAsTheyAreHandedOn();
    void everyLetterIsLowerCasedAsQtDoes();
    void aReadErrorIsReported();
};

void TestWordListReader::read_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("damaged");
    QTest::addColumn<int>("firstDamaged");

    const QString letters = u"Straße\nΣΟΦΟΣ\nŁÓDŹ\nКНИГА\n"_s;
    const QStringList lowered = {u"straße"_s, u"łódź"_s, u"σοφοσ"_s, u"книга"_s};
    QTest::newRow("UTF-8, LF, lower-cased")
        << QByteArray("Cat\ndog\n") << QStringList{u"cat"_s, u"dog"_s} << 0 << 0;
    QTest::newRow("UTF-8 with its mark, CR LF")
        << QByteArray("\xEF\xBB\xBFM\xC3\x9CLLER\r\ncaf\xC3\xA9\r\n")
        << QStringList{u"café"_s, u"müller"_s} << 0 << 0;
    QTest::newRow("CR alone ends a line, the last line needs no end")
        << QByteArray("one\rtwo\rthree") << QStringList{u"one"_s, u"three"_s, u"two"_s} << 0 << 0;
    QTest::newRow("UTF-16 LE by its mark")
        << encoded(QStringEncoder::Utf16LE, letters) << lowered << 0 << 0;
    QTest::newRow("UTF-16 BE by its mark")
        << encoded(QStringEncoder::Utf16BE, letters) << lowered << 0 << 0;
    QTest::newRow("UTF-32 LE by its mark")
        << encoded(QStringEncoder::Utf32LE, letters) << lowered << 0 << 0;
    QTest::newRow("not UTF-8: Windows-1252") << QByteArray("caf\xE9\n\x8A"
                                                           "a\n")
                                             << QStringList{u"café"_s, u"ša"_s} << 0 << 0;
    QTest::newRow("one byte that is no UTF-8 makes all of it Windows-1252")
        << QByteArray("caf\xC3\x8A\n\xDF\n") << QStringList{u"cafãš"_s, u"ß"_s} << 0 << 0;
    QTest::newRow("the commonness level after a TAB, whole numbers only")
        << QByteArray("cat\t35\ndog\tx\nbird\t\nfish\t-3\nowl\t99999999\nemu\t7\t8\n")
        << QStringList{u"bird"_s, u"cat=35"_s, u"dog"_s, u"emu"_s, u"fish"_s, u"owl=65535"_s} << 0
        << 0;
    QTest::newRow("blank lines, blanks in a word and repeats are passed over")
        << QByteArray("\n  \nice cream\nnon\xC2\xA0stop\nCat\t10\ncat\t20\n\nCAT\n")
        << QStringList{u"cat=10"_s} << 0 << 0;
    QTest::newRow("NUL and control characters: damaged lines")
        << QByteArray("ok\nbad\0word\nzz\x01\nfine\x7F\nfine\r\n", 28)
        << QStringList{u"fine"_s, u"ok"_s} << 3 << 2;
    QTest::newRow("a CR LF counts as one line end")
        << QByteArray("a\r\nb\r\n\x02\r\n") << QStringList{u"a"_s, u"b"_s} << 1 << 3;
    QTest::newRow("bytes that are no UTF-8 after a UTF-8 mark: damaged")
        << QByteArray("\xEF\xBB\xBFgood\nba\xFF\x64\n") << QStringList{u"good"_s} << 1 << 2;
    QTest::newRow("a lone surrogate in UTF-16: damaged")
        << encoded(QStringEncoder::Utf16LE, u"ok\n"_s) + QByteArray("\x00\xD8x\0\n\0", 6)
        << QStringList{u"ok"_s} << 1 << 2;
    QTest::newRow("a mark inside the list is no letter")
        << QByteArray("one\n\xEF\xBB\xBFtwo\n") << QStringList{u"one"_s, u"two"_s} << 0 << 0;
    QTest::newRow("a line above 1,000 characters is damaged, the next one read")
        << QByteArray(1001, 'a') + "\nnext\n" + QByteArray(1000, 'b') + '\n'
        << QStringList{QString(1000, u'b'), u"next"_s} << 1 << 1;
    QTest::newRow("a line of 2 MB across pieces is damaged, not held")
        << QByteArray(2 * Piece, 'a') + "\nnext" << QStringList{u"next"_s} << 1 << 1;
    QTest::newRow("a UTF-8 letter cut by the end of a piece")
        << QByteArray("x\n").repeated(Piece / 2 - 2) + "caf\xC3\xA9\n"
        << QStringList{u"café"_s, u"x"_s} << 0 << 0;
    // Decoded whole, the pair is a letter on no key (skipped); cut, it would
    // be a damaged line.
    QTest::newRow("a UTF-16 surrogate pair cut by the end of a piece")
        << encoded(QStringEncoder::Utf16LE, u"x\n"_s.repeated(Piece / 4 - 1) + u"\n\U00010400\n"_s)
        << QStringList{u"x"_s} << 0 << 0;
    QTest::newRow("a CR LF cut by the end of a piece")
        << QByteArray("x\n").repeated(Piece / 2 - 1) + "y\r\n\x01\n"
        << QStringList{u"x"_s, u"y"_s} << 1 << int(Piece / 2 + 1);
    QTest::newRow("an empty list") << QByteArray() << QStringList() << 0 << 0;
}

void TestWordListReader::read()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, words);
    QFETCH(int, damaged);
    QFETCH(int, firstDamaged);
    QBuffer device(&list);
    QVERIFY(device.open(QIODevice::ReadOnly));
    engine::WordStore store;
    const engine::WordListReport report = engine::readWordList(device, store);
    QCOMPARE(report.failure, QString());
    QCOMPARE(contentsOf(store), words);
    QCOMPARE(report.wordsAdded, words.size());
    QCOMPARE(report.damagedLines, qsizetype(damaged));
    QCOMPARE(report.firstDamagedLine, qsizetype(firstDamaged));
}

// What both programs build on: each line as the list spells it, or why it
// holds no word (blank lines are passed over silently).
void TestWordListReader::linesAsTheyAreHandedOn_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("the word as spelled, what follows its TAB as written")
        << QByteArray("Cat\t35\ndog\t\nemu\t7\t8\n")
        << QStringList{u"Cat\t35@1"_s, u"dog\t@2"_s, u"emu\t7\t8@3"_s};
    QTest::newRow("blank lines silently, blanks in a word, a TAB with no word before it")
        << QByteArray("\n \t \nice cream\n\t5\nok\n")
        << QStringList{u"#blank@3"_s, u"#noword@4"_s, u"ok@5"_s};
    QTest::newRow("damaged: control characters, too long; a mark inside the list is dropped")
        << QByteArray("a\x01\n\xEF\xBB\xBF"
                      "b\n")
               + QByteArray(1001, 'c') + "\nd"
        << QStringList{u"#damaged@1"_s, u"b@2"_s, u"#damaged@3"_s, u"d@4"_s};
}

void TestWordListReader::linesAsTheyAreHandedOn()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, lines);
    QBuffer device(&list);
    QVERIFY(device.open(QIODevice::ReadOnly));
    LineRecorder recorder;
    QCOMPARE(engine::readWordList(device, recorder), QString());
    QCOMPARE(recorder.lines, lines);
}

// Every letter of Unicode, one a line: the words are what QString::toLower()
// makes of them (İ becomes two characters).
void TestWordListReader::everyLetterIsLowerCasedAsQtDoes()
{
    QString list;
    QSet<QString> lowered;
    engine::WordStore expected;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
        if (!QChar::isLetter(code))
            continue;
        const QString letter = QString::fromUcs4(&code, 1);
        list += letter + u'\n';
        lowered.insert(letter.toLower());
        expected.tryAdd(letter.toLower());
    }
    QByteArray bytes = list.toUtf8();
    QBuffer device(&bytes);
    QVERIFY(device.open(QIODevice::ReadOnly));
    engine::WordStore store;
    const engine::WordListReport report = engine::readWordList(device, store);
    QCOMPARE(report.damagedLines, qsizetype(0));
    QVERIFY(lowered.contains(u"i\u0307"_s));
    QCOMPARE(store.words(), expected.words());
    QCOMPARE(store.unusableCount(), expected.unusableCount());
}

void TestWordListReader::aReadErrorIsReported()
{
    class Unreadable : public QBuffer
    {
    protected:
        qint64 readData(char *, qint64) override
        {
            setErrorString(u"Input/output error"_s);
            return -1;
        }
    };
    Unreadable device;
    device.setData("cat\n");
    QVERIFY(device.open(QIODevice::ReadOnly));
    engine::WordStore store;
    const engine::WordListReport report = engine::readWordList(device, store);
    QCOMPARE(report.failure, u"Input/output error"_s);
    QVERIFY(store.isEmpty());
}

QTEST_GUILESS_MAIN(TestWordListReader)
#include "tst_wordlistreader.moc"
