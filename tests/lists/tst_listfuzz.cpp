// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Damaged list files: mutants of the list files in tests/data/lists must read
// without a crash or a hang, and give exactly the items of decoding the whole
// file at once, whatever the size of the chunks it is read in. The mutants
// come from a fixed seed, so a failure can be replayed:
//   DIGITOME_FUZZ_MUTANTS  number of mutants (default 3000)
//   DIGITOME_FUZZ_FIRST    number of the first mutant (default 0)
//   DIGITOME_FUZZ_SEED     seed of mutant 0 (default 20210831)

#include "core/ItemListModel.h"
#include "lists/ListFiles.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FuzzRange.h"
#include "tests/support/TestHelpers.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// UTF-16 and UTF-32 as the reader takes them: each unit as it stands; a
// UTF-32 unit that is no Unicode scalar value, a lone surrogate and a part of
// a unit at the end as U+FFFD.
QString units(QByteArrayView bytes, int width, bool littleEndian)
{
    QString text;
    qsizetype at = 0;
    for (; at + width <= bytes.size(); at += width) {
        char32_t code = 0;
        for (int i = 0; i < width; ++i) {
            const int shift = littleEndian ? 8 * i : 8 * (width - 1 - i);
            code |= char32_t(quint8(bytes[at + i])) << shift;
        }
        if (width == 4 && (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            code = QChar::ReplacementCharacter;
        text += width == 2 ? QString(QChar(char16_t(code)))
                           : QStringView(QChar::fromUcs4(code)).toString();
    }
    if (at < bytes.size())
        text += QChar(QChar::ReplacementCharacter);
    // A surrogate that is not half of a pair is U+FFFD.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// The items of a list file decoded whole, the straightforward way.
QStringList wholeFileItems(const QByteArray &bytes)
{
    const auto flags = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
    QString text;
    if (bytes.startsWith(QByteArray("\xFF\xFE\0\0", 4)))
        text = units(bytes.sliced(4), 4, true);
    else if (bytes.startsWith(QByteArray("\0\0\xFE\xFF", 4)))
        text = units(bytes.sliced(4), 4, false);
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QStringDecoder(QStringDecoder::Utf8, flags).decode(bytes.sliced(3));
    else if (bytes.startsWith("\xFF\xFE"))
        text = units(bytes.sliced(2), 2, true);
    else if (bytes.startsWith("\xFE\xFF"))
        text = units(bytes.sliced(2), 2, false);
    else {
        QStringDecoder utf8(QStringDecoder::Utf8, flags);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = QStringDecoder("windows-1252", flags).decode(bytes);
    }
    text.remove(QChar(0));
    text = text.toUpper();
    QStringList items;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        items.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        items.append(text.sliced(start));
    return items;
}

// Pieces that matter to the decoding: marks, line ends, NUL, the lead and
// continuation bytes of UTF-8, surrogates in either byte order.
const QByteArray Pieces[] = {
    "\xEF\xBB\xBF"_ba, "\xFF\xFE"_ba,     "\xFE\xFF"_ba, QByteArray("\xFF\xFE\0\0", 4),
    "\r"_ba,           "\n"_ba,           "\r\n"_ba,     QByteArray(1, '\0'),
    "\xC3"_ba,         "\xA9"_ba,         "\xE2\x82"_ba, "\xF0\x9F\x98\x80"_ba,
    "\x3D\xD8"_ba,     "\xD8\x3D"_ba,     "\x00\xDE"_ba, "\xDF\xFF"_ba,
    "\x80"_ba,         "\xED\xA0\x80"_ba, "\xC0\xAF"_ba, "434-3453"_ba,
};

QByteArray mutate(QByteArray b, QRandomGenerator &rng)
{
    const int steps = 1 + int(rng.bounded(4));
    for (int s = 0; s < steps; ++s) {
        const qsizetype at = b.isEmpty() ? 0 : qsizetype(rng.bounded(quint64(b.size() + 1)));
        switch (rng.bounded(6)) {
        case 0:
            b.truncate(at);
            break;
        case 1:
            for (int n = 1 + int(rng.bounded(8)); n > 0 && !b.isEmpty(); --n)
                b[qsizetype(rng.bounded(quint64(b.size())))] = char(rng.bounded(256));
            break;
        case 2:
            for (int n = 1 + int(rng.bounded(8)); n > 0 && !b.isEmpty(); --n) {
                const qsizetype i = qsizetype(rng.bounded(quint64(b.size())));
                b[i] = char(b[i] ^ (1 << rng.bounded(8)));
            }
            break;
        case 3:
            b.insert(at, Pieces[rng.bounded(int(std::size(Pieces)))]);
            break;
        case 4:
            b.insert(0, Pieces[rng.bounded(4)]); // a mark, right or wrong
            break;
        default:
            b.insert(at, b.mid(at / 2, qsizetype(rng.bounded(64))));
            break;
        }
    }
    return b;
}

} // namespace

class TestListFuzz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mutantsReadLikeTheWholeFile();

private:
    QList<QByteArray> m_seeds;
};

void TestListFuzz::initTestCase()
{
    const QDir dir(qEnvironmentVariable("DIGITOME_TESTDATA") + u"/lists"_s);
    for (const QString &name : dir.entryList({u"*.txt"_s}, QDir::Files)) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_seeds.append(file.readAll());
        // The seeds themselves read as they should.
        QCOMPARE(lists::listFileItems(m_seeds.back()), wholeFileItems(m_seeds.back()));
    }
    QVERIFY2(m_seeds.size() >= 5, qPrintable(dir.path()));
}

void TestListFuzz::mutantsReadLikeTheWholeFile()
{
    const auto [mutants, first, firstSeed] = FuzzRange::fromEnvironment(3000);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"mutant.txt"_s);
    FakeDialogs dialogs;
    int differing = 0;
    for (int i = first; i < first + mutants; ++i) {
        QRandomGenerator rng(firstSeed + quint32(i));
        const QByteArray mutant = mutate(m_seeds[i % m_seeds.size()], rng);
        const QStringList expected = wholeFileItems(mutant);
        // Seams anywhere: chunks of 1 to 16 bytes, and through a real file.
        const qint64 chunk = 1 + qint64(rng.bounded(16));
        const QStringList chunked = lists::detail::listFileItemsInChunks(mutant, chunk);
        if (chunked != expected) {
            if (++differing <= 3)
                qWarning("mutant %d (seed %u, chunks of %lld) reads differently",
                         i,
                         unsigned(firstSeed + quint32(i)),
                         qlonglong(chunk));
            continue;
        }
        if (i % 10 == 0) {
            testsupport::writeFile(path, mutant);
            core::ItemListModel list;
            list.append(u"kept"_s);
            lists::loadListFile(dialogs, list, path);
            const QStringList loaded = testsupport::texts(list);
            if (loaded.mid(1) != expected || loaded.value(0) != u"kept")
                ++differing;
        }
    }
    qInfo("%d mutants of %lld list files: %d read differently; 0 crashes, 0 hangs",
          mutants,
          qlonglong(m_seeds.size()),
          differing);
    QCOMPARE(differing, 0);
    QVERIFY(dialogs.shown.isEmpty());
}

QTEST_GUILESS_MAIN(TestListFuzz)
#include "tst_listfuzz.moc"
