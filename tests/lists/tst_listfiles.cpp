// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Failure.h"
#include "core/ItemListModel.h"
#include "lists/ListFiles.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TestHelpers.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Big enough to show a quadratic step, small enough for the sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
constexpr int LargeFileLines = 200'000;
#else
constexpr int LargeFileLines = 2'000'000;
#endif

} // namespace

class TestListFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void items_data();
    void items();
    void windows1252TableMatchesCodec();

    void normalizeBackslashes_data();
    void normalizeBackslashes();
    void collapseSlashes_data();
    void collapseSlashes();
    void selectionText_data();
    void selectionText();

    void loadAppendsAfterExistingItems();
    void missingFileIsReportedAndAppendsNothing();
    void unreadablePathsFailCleanly_data();
    void unreadablePathsFailCleanly();
    void largeFileGoesInOneInsertion();
    void enormousLineIsOneItem();
    void binaryFileGivesCleanItems();
};

void TestListFiles::items_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("CR LF ends a line") << "a\r\nb\r\n"_ba << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("LF alone ends a line") << "a\nb\n"_ba << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("CR alone ends a line") << "a\rb\r"_ba << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("mixed line ends in one file")
        << "a\r\nb\nc\rd"_ba << QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s};
    QTest::newRow("last line needs no line end") << "a\r\nb"_ba << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("empty file appends nothing") << QByteArray() << QStringList();
    QTest::newRow("only CR LF gives one empty item") << "\r\n"_ba << QStringList{QString()};
    QTest::newRow("only LF gives one empty item") << "\n"_ba << QStringList{QString()};
    QTest::newRow("blank line in the middle gives an empty item")
        << "a\r\n\r\nb\r\n"_ba << QStringList{u"A"_s, QString(), u"B"_s};
    QTest::newRow("LF then CR are two line ends")
        << "a\n\rb"_ba << QStringList{u"A"_s, QString(), u"B"_s};
    QTest::newRow("CR before CR LF is a line end of its own")
        << "a\r\r\nb"_ba << QStringList{u"A"_s, QString(), u"B"_s};
    QTest::newRow("items are never trimmed")
        << " 434 - 3453 \t\r\n"_ba << QStringList{u" 434 - 3453 \t"_s};
    QTest::newRow("letters are upper-cased")
        << "1-800-flowers\r\n"_ba << QStringList{u"1-800-FLOWERS"_s};
    QTest::newRow("upper-casing may lengthen an item") << "stra\xc3\x9f"
                                                          "e"_ba
                                                       << QStringList{u"STRASSE"_s};
    QTest::newRow("valid UTF-8 is read as UTF-8")
        << "caf\xc3\xa9\r\n\xe2\x82\xac"_ba << QStringList{u"CAFÉ"_s, u"€"_s};
    QTest::newRow("UTF-8 byte-order mark is dropped") << "\xef\xbb\xbf"
                                                         "ab\r\n"_ba
                                                      << QStringList{u"AB"_s};
    QTest::newRow("byte E9 alone is Windows-1252") << "caf\xe9\r\n"_ba << QStringList{u"CAFÉ"_s};
    QTest::newRow("byte 80 is the euro sign in Windows-1252") << "5\x80"_ba << QStringList{u"5€"_s};
    QTest::newRow("one invalid sequence makes the whole file Windows-1252")
        << "\xc3\xa9\r\n\xe9"_ba << QStringList{u"Ã©"_s, u"É"_s};
    QTest::newRow("UTF-8 sequence cut off at the end is not UTF-8")
        << "ab\xc3"_ba << QStringList{u"ABÃ"_s};
    QTest::newRow("overlong encoding is not UTF-8") << "\xc0\xaf"_ba << QStringList{u"À¯"_s};
    QTest::newRow("encoded surrogate is not UTF-8")
        << "\xed\xa0\x80"_ba << QStringList{u"Í\u00a0€"_s};
    QTest::newRow("NUL bytes are dropped")
        << QByteArray("43\0\0-1\r\nab", 10) << QStringList{u"43-1"_s, u"AB"_s};
    QTest::newRow("NUL between CR and LF does not split the line end")
        << QByteArray("a\r\0\nb", 5) << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("a file of NUL bytes appends nothing") << QByteArray(3, '\0') << QStringList();

    // A byte-order mark names the encoding; the mark itself is no character.
    const QString text = u"434-3453\r\ncaf\u00e9 \U0001F600"_s;
    const QStringList items{u"434-3453"_s, u"CAF\u00c9 \U0001F600"_s};
    const auto encoded = [&](QStringConverter::Encoding encoding) {
        return QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text));
    };
    QTest::newRow("UTF-16 LE with its mark") << encoded(QStringConverter::Utf16LE) << items;
    QTest::newRow("UTF-16 BE with its mark") << encoded(QStringConverter::Utf16BE) << items;
    QTest::newRow("UTF-32 LE with its mark") << encoded(QStringConverter::Utf32LE) << items;
    QTest::newRow("UTF-32 BE with its mark") << encoded(QStringConverter::Utf32BE) << items;
    QTest::newRow("UTF-8 mark keeps a bad byte inside UTF-8") << "\xef\xbb\xbf"
                                                                 "a\xe9"_ba
                                                              << QStringList{u"A\ufffd"_s};
    // The file is decoded a megabyte at a time: nothing is cut at the seams.
    const QByteArray fill((1 << 20) - 1, '1');
    QTest::newRow("UTF-8 character across a seam")
        << fill + "\xc3\xa9"_ba << QStringList{u"1"_s.repeated(fill.size()) + u"\u00c9"_s};
    QTest::newRow("CR LF across a seam")
        << fill + "\r\n2"_ba << QStringList{u"1"_s.repeated(fill.size()), u"2"_s};
    QTest::newRow("UTF-16 pair across a seam")
        << "\xff\xfe"_ba + QByteArray("1\0", 2).repeated((1 << 19) - 2) + "\x3d\xd8\x00\xde"_ba
        << QStringList{u"1"_s.repeated((1 << 19) - 2) + u"\U0001F600"_s};
    QTest::newRow("bad UTF-8 after a seam makes the whole file Windows-1252")
        << "\xc3\xa9"_ba + fill + "\xe9"_ba
        << QStringList{u"\u00c3\u00a9"_s + u"1"_s.repeated(fill.size()) + u"\u00c9"_s};
}

void TestListFiles::items()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(lists::listFileItems(bytes), expected);
}

void TestListFiles::windows1252TableMatchesCodec()
{
    QStringDecoder codec("windows-1252");
    QVERIFY(codec.isValid());
    QByteArray every(256, '\0');
    for (int byte = 0; byte < 256; ++byte)
        every[byte] = char(byte);
    QCOMPARE(lists::detail::decodeWindows1252Table(every), codec.decode(every));
}

void TestListFiles::normalizeBackslashes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pair between folder and name becomes one")
        << uR"(C:\Lists\\a.txt)"_s << uR"(C:\Lists\a.txt)"_s;
    QTest::newRow("pair after a drive root becomes one") << uR"(C:\\a.txt)"_s << uR"(C:\a.txt)"_s;
    QTest::newRow("network path keeps its two leading backslashes")
        << uR"(\\server\share\a.txt)"_s << uR"(\\server\share\a.txt)"_s;
    QTest::newRow("network path with a pair inside")
        << uR"(\\server\share\\a.txt)"_s << uR"(\\server\share\a.txt)"_s;
    QTest::newRow("one leading backslash becomes two") << uR"(\a\b.txt)"_s << uR"(\\a\b.txt)"_s;
    QTest::newRow("three leading become two") << uR"(\\\a.txt)"_s << uR"(\\a.txt)"_s;
    QTest::newRow("four leading become two") << uR"(\\\\a.txt)"_s << uR"(\\a.txt)"_s;
    QTest::newRow("three inside become two") << uR"(C:\a\\\b.txt)"_s << uR"(C:\a\\b.txt)"_s;
    QTest::newRow("four inside become two") << uR"(C:\a\\\\b.txt)"_s << uR"(C:\a\\b.txt)"_s;
    QTest::newRow("five inside become three") << uR"(C:\a\\\\\b.txt)"_s << uR"(C:\a\\\b.txt)"_s;
    QTest::newRow("single backslashes unchanged")
        << uR"(C:\Lists\a.txt)"_s << uR"(C:\Lists\a.txt)"_s;
    QTest::newRow("no backslash unchanged") << u"a//b.txt"_s << u"a//b.txt"_s;
    QTest::newRow("empty path") << QString() << QString();
    QTest::newRow("backslashes only become two") << uR"(\\\\\)"_s << uR"(\\)"_s;
    QTest::newRow("trailing pair becomes one") << uR"(C:\a\\)"_s << uR"(C:\a\)"_s;
}

void TestListFiles::normalizeBackslashes()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(lists::normalizeBackslashes(path), expected);
}

void TestListFiles::collapseSlashes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("root folder joined with a name") << u"//a.txt"_s << u"/a.txt"_s;
    QTest::newRow("every run collapses") << u"/home//u///a.txt"_s << u"/home/u/a.txt"_s;
    QTest::newRow("single slashes unchanged") << u"/home/u/a.txt"_s << u"/home/u/a.txt"_s;
    QTest::newRow("backslashes are names on Linux") << u"/a\\\\b"_s << u"/a\\\\b"_s;
    QTest::newRow("empty path") << QString() << QString();
}

void TestListFiles::collapseSlashes()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(lists::collapseSlashes(path), expected);
}

void TestListFiles::selectionText_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const QChar nul(0);
    QTest::newRow("no paths give the empty text") << QStringList() << QChar(u'/') << QString();
    QTest::newRow("one path is used as it is")
        << QStringList{u"/home/u//a.txt"_s} << QChar(u'/') << u"/home/u//a.txt"_s;
    QTest::newRow("one folder: folder then names")
        << QStringList{u"/home/u/a.txt"_s, u"/home/u/b.txt"_s} << QChar(u'/')
        << u"/home/u"_s + nul + u"a.txt"_s + nul + u"b.txt"_s;
    QTest::newRow("names keep the dialog's order")
        << QStringList{u"/d/b.txt"_s, u"/d/a.txt"_s} << QChar(u'/')
        << u"/d"_s + nul + u"b.txt"_s + nul + u"a.txt"_s;
    QTest::newRow("root folder keeps its slash")
        << QStringList{u"/a.txt"_s, u"/b.txt"_s} << QChar(u'/')
        << u"/"_s + nul + u"a.txt"_s + nul + u"b.txt"_s;
    QTest::newRow("different folders: names relative to the shared folder")
        << QStringList{u"/d/x/a.txt"_s, u"/d/y/b.txt"_s} << QChar(u'/')
        << u"/d"_s + nul + u"x/a.txt"_s + nul + u"y/b.txt"_s;
    QTest::newRow("a shared prefix of folder names is no shared folder")
        << QStringList{u"/data1/a.txt"_s, u"/data2/b.txt"_s} << QChar(u'/')
        << u"/"_s + nul + u"data1/a.txt"_s + nul + u"data2/b.txt"_s;
    QTest::newRow("drive root keeps its backslash")
        << QStringList{uR"(C:\a.txt)"_s, uR"(C:\b.txt)"_s} << QChar(u'\\')
        << uR"(C:\)"_s + nul + u"a.txt"_s + nul + u"b.txt"_s;
    QTest::newRow("network share folder")
        << QStringList{uR"(\\srv\share\a.txt)"_s, uR"(\\srv\share\b.txt)"_s} << QChar(u'\\')
        << uR"(\\srv\share)"_s + nul + u"a.txt"_s + nul + u"b.txt"_s;
}

void TestListFiles::selectionText()
{
    QFETCH(QStringList, paths);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    const QString text = lists::selectionText(paths, separator);
    QCOMPARE(text, expected);

    // Joining the folder with each name again, and tidying, gives back the
    // chosen paths.
    const QStringList parts = text.split(QChar(0));
    if (parts.size() < 2)
        return;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString joined = parts.at(0) + separator + parts.at(i);
        QCOMPARE(separator == u'\\' ? lists::normalizeBackslashes(joined)
                                    : lists::collapseSlashes(joined),
                 paths.at(i - 1));
    }
}

void TestListFiles::loadAppendsAfterExistingItems()
{
    QTemporaryDir dir;
    const QString path =
        testsupport::writeFile(dir.filePath(u"numbers.txt"_s), "434-3453\r\n1-800-flowers\r\n"_ba);
    FakeDialogs dialogs;
    core::ItemListModel list;
    list.append(u"first"_s);

    lists::loadListFile(dialogs, list, path);

    QCOMPARE(list.rows(), 3);
    QCOMPARE(list.text(0), u"first"_s);
    QCOMPARE(list.text(1), u"434-3453"_s);
    QCOMPARE(list.text(2), u"1-800-FLOWERS"_s);
    QVERIFY(!list.isChecked(2));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestListFiles::missingFileIsReportedAndAppendsNothing()
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    core::ItemListModel list;

    lists::loadListFile(dialogs, list, dir.filePath(u"gone.txt"_s));

    QCOMPARE(list.rows(), 0);
    QCOMPARE(dialogs.messages(), QStringList{u"File not found"_s});
    QCOMPARE(dialogs.shown.at(0).title, QString());
    QCOMPARE(dialogs.shown.at(0).icon, core::Dialogs::Icon::None);
}

void TestListFiles::unreadablePathsFailCleanly_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("description");

    QTest::newRow("a folder chosen as a file") << u"<dir>"_s << u"is a folder"_s;
    QTest::newRow("an endless device is not read") << u"/dev/zero"_s << u"is not a plain file"_s;
    for (const char *kind : {"fifo", "socket", "device link", "fifo link"})
        QTest::newRow(kind) << u"<special>"_s + QLatin1String(kind) << u"is not a plain file"_s;
    QTest::newRow("a file above 256 MB") << u"<large>"_s << u"is larger than 256 MB"_s;
    if (::geteuid() != 0)
        QTest::newRow("a file without read permission") << u"<locked>"_s << u"Could not open"_s;
}

void TestListFiles::unreadablePathsFailCleanly()
{
    QFETCH(QString, path);
    QFETCH(QString, description);

    QTemporaryDir dir;
    if (path == u"<dir>")
        path = dir.path();
    if (path.startsWith(u"<special>"))
        path = testsupport::makeSpecialFile(path.sliced(9), dir.filePath(u"special"_s));
    if (path == u"<large>") {
        path = dir.filePath(u"large.txt"_s);
        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(lists::MaxListFileSize + 1));
    }
    if (path == u"<locked>") {
        path = testsupport::writeFile(dir.filePath(u"locked.txt"_s), "1\r\n"_ba);
        QFile::setPermissions(path, {});
    }
    if (!QFile::exists(path))
        QSKIP("no such path here");

    FakeDialogs dialogs;
    core::ItemListModel list;
    list.append(u"kept"_s);
    try {
        lists::loadListFile(dialogs, list, path);
        QFAIL("reading did not fail");
    } catch (const core::Failure &failure) {
        QVERIFY2(failure.description().contains(description), qPrintable(failure.description()));
        QVERIFY(failure.description().contains(path));
    }
    QCOMPARE(list.rows(), 1);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestListFiles::largeFileGoesInOneInsertion()
{
    QTemporaryDir dir;
    QByteArray bytes;
    bytes.reserve(qsizetype(LargeFileLines) * 10);
    for (int i = 0; i < LargeFileLines; ++i)
        bytes += QByteArray::number(1000000 + i) + "a\r\n"_ba;
    const QString path = testsupport::writeFile(dir.filePath(u"large.txt"_s), bytes);
    bytes.clear();

    FakeDialogs dialogs;
    core::ItemListModel list;
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    lists::loadListFile(dialogs, list, path);

    QCOMPARE(inserted.size(), 1);
    QCOMPARE(list.rows(), LargeFileLines);
    QCOMPARE(list.text(0), u"1000000A"_s);
    QCOMPARE(list.text(LargeFileLines / 2), QString::number(1000000 + LargeFileLines / 2) + u'A');
    QCOMPARE(list.text(LargeFileLines - 1), QString::number(1000000 + LargeFileLines - 1) + u'A');
}

void TestListFiles::enormousLineIsOneItem()
{
    QTemporaryDir dir;
    const qsizetype length = 8 * 1024 * 1024;
    const QString path =
        testsupport::writeFile(dir.filePath(u"long.txt"_s), QByteArray(length, 'x') + "\r\n5"_ba);
    FakeDialogs dialogs;
    core::ItemListModel list;

    lists::loadListFile(dialogs, list, path);

    QCOMPARE(list.rows(), 2);
    QCOMPARE(list.text(0).size(), length);
    QVERIFY(list.text(0).startsWith(u"XXXX"));
    QCOMPARE(list.text(1), u"5"_s);
}

void TestListFiles::binaryFileGivesCleanItems()
{
    QTemporaryDir dir;
    QByteArray bytes(1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(20210831);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    const QString path = testsupport::writeFile(dir.filePath(u"binary.bin"_s), bytes);
    FakeDialogs dialogs;
    core::ItemListModel list;

    lists::loadListFile(dialogs, list, path);

    QVERIFY(list.rows() > 1000);
    qsizetype characters = 0;
    for (int row = 0; row < list.rows(); ++row) {
        const QString item = list.text(row);
        QVERIFY(!item.contains(u'\r') && !item.contains(u'\n') && !item.contains(QChar(0)));
        characters += item.size();
    }
    // Every byte that is not a line end or NUL became one character.
    const qsizetype dropped = bytes.count('\r') + bytes.count('\n') + bytes.count('\0');
    QVERIFY(characters >= bytes.size() - dropped);
}

QTEST_GUILESS_MAIN(TestListFiles)
#include "tst_listfiles.moc"
