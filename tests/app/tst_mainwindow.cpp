// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ItemListView.h"
#include "app/MainWindow.h"
#include "app/MemoryGuard.h"
#include "app/NumberListMenu.h"
#include "app/ResultsOrderControl.h"
#include "engine/LineRanking.h"
#include "platform/MdbDatabase.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeSpreadsheet.h"
#include "tests/support/JetFixtures.h"
#include "tests/support/MemoryConnection.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TestHelpers.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageWriter>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <map>

using namespace Qt::Literals::StringLiterals;
using app::Control;

namespace {

// A control of the window, found by its objectName.
template <typename Widget>
Widget *find(QWidget &window, app::Control control)
{
    auto *widget = window.findChild<Widget *>(app::objectNameOf(control));
    if (!widget)
        qFatal("no control %s", qPrintable(app::objectNameOf(control)));
    return widget;
}

// One window with fake services over a temporary application folder.
struct Fixture
{
    QTemporaryDir folder;     // the program's
    QTemporaryDir userFolder; // the per-user data folder
    FakeDialogs dialogs;
    FakeSettingsStore settings;
    FakeClipboard clipboard;
    FakeSpreadsheet spreadsheet;
    QList<std::optional<QString>> words{u"I"_s, u"if"_s, u"File"_s};
    QList<int> offensive; // the words' ratings, when not empty
    QString openFailure;
    // Another source of dictionary connections (the real one, say).
    std::function<std::unique_ptr<core::Connection>()> connectionFactory;
    int processEnds = 0;
    qint64 availableMemory = -1; // unknown: no limit on the results
    std::unique_ptr<app::MainWindow> window;

    app::MainWindow &load()
    {
        window = std::make_unique<app::MainWindow>(app::Services{
            dialogs,
            settings,
            clipboard,
            spreadsheet,
            [this]() -> std::unique_ptr<core::Connection> {
                if (connectionFactory)
                    return connectionFactory();
                auto connection = std::make_unique<MemoryConnection>();
                connection->words = words;
                connection->offensive = offensive;
                connection->openFailure = openFailure;
                return connection;
            },
            {userFolder.path(), folder.path()},
            [this] {
                ++processEnds;
            },
            [this] {
                return availableMemory;
            },
        });
        window->startUp();
        return *window;
    }

    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        testsupport::writeFile(folder.filePath(relative), bytes);
    }
};

// The contrast between the most common colour of an image (what is behind
// the text) and the colour that stands out most from it (the text), as the
// ratio of their relative luminances plus 0.05.
double contrastOf(const QImage &image)
{
    const auto luminance = [](QRgb rgb) {
        const auto channel = [](int value) {
            const double c = value / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb))
               + 0.0722 * channel(qBlue(rgb));
    };
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(background, most) = std::pair{it.key(), it.value()};
    const double behind = luminance(background);
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double other = luminance(it.key());
        best = std::max(best, (std::max(behind, other) + 0.05) / (std::min(behind, other) + 0.05));
    }
    return best;
}

// The mark of a check box or option button as drawn, with a little of what
// is behind it.
QImage markOf(QAbstractButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    const QStyle::SubElement mark = qobject_cast<QRadioButton *>(&button)
                                        ? QStyle::SE_RadioButtonIndicator
                                        : QStyle::SE_CheckBoxIndicator;
    const QRect area = button.style()->subElementRect(mark, &option, &button);
    return button.grab(area.adjusted(-2, -2, 2, 2)).toImage();
}

// A part of a row of a list as drawn: its check box or its text.
QImage rowPart(app::ItemListView &view, int row, QStyle::SubElement part)
{
    const QModelIndex index = view.model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.rect = view.visualRect(index);
    option.font = view.font();
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator;
    option.text = index.data().toString();
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    QRect area = view.style()->subElementRect(part, &option, &view);
    if (part == QStyle::SE_ItemViewItemCheckIndicator)
        area = area.adjusted(-2, -2, 2, 2) & option.rect;
    return view.viewport()->grab(area).toImage();
}

// A Windows cursor file: an icon file with type 2 and a hot spot.
QByteArray cursorFile(int hotX, int hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    writer.write(image);
    QByteArray bytes = buffer.data();
    bytes[2] = 2;
    bytes[10] = char(hotX);
    bytes[12] = char(hotY);
    return bytes;
}

// A window with short words under "Words and numbers" and `numbers` times
// 22222222 in the number list: each such number gives thousands of lines, so
// a run of several lets events in many times.
app::MainWindow &loadLongRun(Fixture &f, int numbers)
{
    f.words = {u"a"_s, u"b"_s, u"c"_s, u"ab"_s, u"ba"_s, u"abc"_s, u"cab"_s};
    app::MainWindow &w = f.load();
    find<QRadioButton>(w, Control::WordsAndNumbersOption)->click();
    for (int i = 0; i < numbers; ++i)
        w.numberList().append(u"22222222"_s);
    return w;
}

// The tool tip that shows over a row of a list.
QString toolTipOver(app::ItemListView &view, int row)
{
    const QPoint at = view.visualRect(view.model()->index(row, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &help);
    const QString text = QToolTip::text();
    QToolTip::hideText();
    return text;
}

void moveOver(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove,
                     QPointF(2, 2),
                     widget->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton,
                     Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptySettingsOpenWithMnemonicWordsOnly()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        QVERIFY(find<QRadioButton>(w, Control::MnemonicOption)->isChecked());
        QVERIFY(find<QRadioButton>(w, Control::WordsOnlyOption)->isChecked());
        QVERIFY(!find<QRadioButton>(w, Control::SpellOutOption)->isChecked());
        QVERIFY(!find<QRadioButton>(w, Control::WordsAndNumbersOption)->isChecked());
        QVERIFY(find<QGroupBox>(w, Control::MnemonicFrame)->isEnabled());
        QVERIFY(!find<QCheckBox>(w, Control::IncludeOriginalCheck)->isChecked());
        QCOMPARE(f.dialogs.errorReports(), QStringList());
        QCOMPARE(w.windowTitle(), u"Digitome"_s);
        QCOMPARE(w.pointer(), core::Pointer::Default);
        QCOMPARE(w.wordStore().size(), 3);
        QVERIFY(w.wordStore().contains(u"file"));
        QVERIFY(!w.wordStore().contains(u"File"));
        QCOMPARE(f.settings.writes, QStringList()); // restoring writes nothing
    }

    void storedOptionsAreRestored_data()
    {
        QTest::addColumn<QStringList>("stored"); // key=value pairs
        QTest::addColumn<QString>("selected");   // the options that end selected
        QTest::addColumn<bool>("frame1Enabled");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("reportLine");
        QTest::newRow("spelled out") << QStringList{u"Option1=False"_s, u"Option2=True"_s}
                                     << u"24"_s << false << false << QString();
        QTest::newRow("contradiction: the last one set wins")
            << QStringList{u"Option1=True"_s, u"Option2=True"_s} << u"24"_s << false << false
            << QString();
        QTest::newRow("words and numbers, checked")
            << QStringList{u"Option3=True"_s, u"Option4=False"_s, u"Check1=1"_s} << u"13"_s << true
            << true << QString();
        QTest::newRow("a check box stored as True stays unchecked")
            << QStringList{u"Check1=True"_s} << u"14"_s << true << false << QString();
        QTest::newRow("a word that is no Boolean is reported and skipped")
            << QStringList{u"Option3=yes"_s} << u"14"_s << true << false << u"154"_s;
        QTest::newRow("both conversions stored False: neither is selected")
            << QStringList{u"Option1=False"_s, u"Option2=False"_s} << u"4"_s << false << false
            << QString();
        QTest::newRow("numbers count as Booleans") << QStringList{u"Option1=0"_s, u"Option2=-1"_s}
                                                   << u"24"_s << false << false << QString();
    }
    void storedOptionsAreRestored()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, selected);
        QFETCH(bool, frame1Enabled);
        QFETCH(bool, checked);
        QFETCH(QString, reportLine);
        Fixture f;
        for (const QString &pair : stored)
            f.settings.setDigitome(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        app::MainWindow &w = f.load();
        QString actual;
        const QRadioButton *options[] = {find<QRadioButton>(w, Control::MnemonicOption),
                                         find<QRadioButton>(w, Control::SpellOutOption),
                                         find<QRadioButton>(w, Control::WordsAndNumbersOption),
                                         find<QRadioButton>(w, Control::WordsOnlyOption)};
        for (int i = 0; i < 4; ++i)
            if (options[i]->isChecked())
                actual += QString::number(i + 1);
        QCOMPARE(actual, selected);
        QCOMPARE(find<QGroupBox>(w, Control::MnemonicFrame)->isEnabled(), frame1Enabled);
        QCOMPARE(find<QCheckBox>(w, Control::IncludeOriginalCheck)->isChecked(), checked);
        const QStringList reports = f.dialogs.errorReports();
        if (reportLine.isEmpty()) {
            QCOMPARE(reports, QStringList());
        } else {
            QCOMPARE(reports.size(), 1);
            QVERIFY(reports.first().startsWith(u"Type mismatch\r\nin Numerill2021/08/31."
                                               "Form1.Form_Load at line "_s
                                               + reportLine));
        }
    }

    void clicksWriteTheSettingsAtOnce()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        find<QRadioButton>(w, Control::SpellOutOption)->click();
        QCOMPARE(f.settings.digitome(u"Option1"_s), u"False"_s);
        QCOMPARE(f.settings.digitome(u"Option2"_s), u"True"_s);
        QVERIFY(!find<QGroupBox>(w, Control::MnemonicFrame)->isEnabled());
        find<QRadioButton>(w, Control::WordsAndNumbersOption)->setEnabled(true);
        find<QGroupBox>(w, Control::MnemonicFrame)->setEnabled(true);
        find<QRadioButton>(w, Control::WordsAndNumbersOption)->click();
        QCOMPARE(f.settings.digitome(u"Option3"_s), u"True"_s);
        QCOMPARE(f.settings.digitome(u"Option4"_s), u"False"_s);
        find<QCheckBox>(w, Control::IncludeOriginalCheck)->click();
        QCOMPARE(f.settings.digitome(u"Check1"_s), u"1"_s);
        find<QCheckBox>(w, Control::IncludeOriginalCheck)->click();
        QCOMPARE(f.settings.digitome(u"Check1"_s), u"0"_s);
        find<QRadioButton>(w, Control::MnemonicOption)->click();
        QVERIFY(find<QGroupBox>(w, Control::MnemonicFrame)->isEnabled());
        QVERIFY(find<QRadioButton>(w, Control::WordsAndNumbersOption)
                    ->isChecked()); // the nested group is left alone

        // The next start restores what was written.
        Fixture again;
        again.settings = f.settings;
        app::MainWindow &next = again.load();
        QVERIFY(find<QRadioButton>(next, Control::MnemonicOption)->isChecked());
        QVERIFY(find<QRadioButton>(next, Control::WordsAndNumbersOption)->isChecked());
        QVERIFY(!find<QCheckBox>(next, Control::IncludeOriginalCheck)->isChecked());
    }

    void missingDictionaryIsReportedTwiceAndTheWindowStillOpens()
    {
        Fixture f;
        f.openFailure = u"Could not find file '/x/dbWords.mdb'."_s;
        app::MainWindow &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports.at(0).startsWith(u"Could not find file '/x/dbWords.mdb'.\r\n"_s));
        QVERIFY(reports.at(0).contains(u"Form1.Form_Load at line 140\r\r"_s));
        QVERIFY(reports.at(1).contains(u"Form1.Form_Load at line 146\r\r"_s));
        QVERIFY(w.wordStore().isEmpty());
        QCOMPARE(w.pointer(), core::Pointer::Default);
        QVERIFY(find<QRadioButton>(w, Control::MnemonicOption)->isChecked());
    }

    // The real database layer; the dictionary is taken from the per-user data
    // folder when anything of that name is there, else from the program's.
    void dictionaryIsLookedForPerUserFirst_data()
    {
        QTest::addColumn<QString>("inUserFolder"); // "", "words" or "damaged"
        QTest::addColumn<QString>("inProgramFolder");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("reportedFolder"); // "", "user" or "program"
        QTest::newRow("in neither: the report names the program's folder")
            << QString() << QString() << QStringList() << u"program"_s;
        QTest::newRow("beside the program only")
            << QString() << u"words"_s << QStringList{u"beside"_s} << QString();
        QTest::newRow("the per-user file comes first")
            << u"words"_s << u"damaged"_s << QStringList{u"mine"_s} << QString();
        QTest::newRow("a damaged per-user file is reported, not passed over")
            << u"damaged"_s << u"words"_s << QStringList() << u"user"_s;
    }
    void dictionaryIsLookedForPerUserFirst()
    {
        QFETCH(QString, inUserFolder);
        QFETCH(QString, inProgramFolder);
        QFETCH(QStringList, words);
        QFETCH(QString, reportedFolder);
        Fixture f;
        platform::MdbDatabase database;
        f.connectionFactory = [&] {
            return database.createConnection();
        };
        const auto place = [](const QTemporaryDir &dir, const QString &kind, const QString &word) {
            const QString path = dir.filePath(u"dbWords.mdb"_s);
            if (kind == u"words")
                testsupport::writeFile(path, fixtures::build({fixtures::wordsTable({word})}));
            else if (kind == u"damaged")
                testsupport::writeFile(path, "not a database");
        };
        place(f.userFolder, inUserFolder, u"mine"_s);
        place(f.folder, inProgramFolder, u"beside"_s);
        app::MainWindow &w = f.load();
        QCOMPARE(QStringList(w.wordStore().words().cbegin(), w.wordStore().words().cend()), words);
        const QStringList reports = f.dialogs.errorReports();
        if (reportedFolder.isEmpty()) {
            QCOMPARE(reports, QStringList());
            return;
        }
        QCOMPARE(reports.size(), 2);
        const QTemporaryDir &folder = reportedFolder == u"user" ? f.userFolder : f.folder;
        QVERIFY2(reports.at(0).contains(folder.filePath(u"dbWords.mdb"_s)),
                 qPrintable(reports.at(0)));
        QVERIFY(reports.at(0).contains(u"at line 140"_s));
        QVERIFY(reports.at(1).contains(u"at line 146"_s));
    }

    void duplicateWordStopsTheLoadWithTheEarlierWordsKept()
    {
        Fixture f;
        f.words = {u"dog"_s, u"Cat"_s, u"cat"_s, u"bird"_s};
        app::MainWindow &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(u"Form1.Form_Load at line 146"_s));
        QCOMPARE(w.wordStore().size(), 2);
        QVERIFY(w.wordStore().contains(u"cat"));
        QVERIFY(!w.wordStore().contains(u"bird"));
    }

    void themeFileRecoloursTheWindowAndAppliesItsStyleSheet()
    {
        Fixture f;
        f.writeFile(u"x/o.cjs"_s, "QPushButton { color: rgb(1, 2, 3); }");
        app::MainWindow &w = f.load();
        QCOMPARE(w.styleSheet(), u"QPushButton { color: rgb(1, 2, 3); }"_s);
        QVERIFY(w.palette().color(QPalette::Window) != QColor(Qt::white));
        QCOMPARE(find<QGroupBox>(w, Control::MnemonicFrame)->palette().color(QPalette::Window),
                 w.palette().color(QPalette::Window));
        QCOMPARE(f.dialogs.errorReports(), QStringList());
    }

    void withoutThemeTheWindowStaysWhite()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        QVERIFY(w.styleSheet().isEmpty());
        QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::white));
    }

    // A per-user theme that is no text is reported; the program's own theme
    // does not stand in for it.
    void binaryThemeFileIsReported()
    {
        Fixture f;
        f.writeFile(u"x/o.cjs"_s, "QPushButton { color: rgb(1, 2, 3); }");
        testsupport::writeFile(f.userFolder.filePath(u"x/o.cjs"_s),
                               QByteArray("\xff\xfe\x00\x01\x80", 5));
        app::MainWindow &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(u"Form1.Form_Load at line 102"_s));
        QVERIFY(w.styleSheet().isEmpty());
    }

    // Data files that are no regular files, or too large, end start-up with
    // the report an unreadable file of that kind gets, or none; never a hang.
    void startUpRefusesDataFilesThatAreNoPlainFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("reportedLine"); // 0: start-up reports nothing
        for (const char *kind : {"folder", "fifo", "socket", "device link", "fifo link"}) {
            const QString k = QString::fromLatin1(kind);
            QTest::addRow("dictionary, %s", kind) << u"dbWords.mdb"_s << k << 140;
            QTest::addRow("cursor, %s", kind) << u"HAND-M.CUR"_s << k << 108;
            QTest::addRow("theme, %s", kind) << u"x/o.cjs"_s << k << 0;
        }
        QTest::newRow("cursor above 1 MB") << u"HAND-M.CUR"_s << u"large"_s << 108;
        QTest::newRow("theme above 1 MB") << u"x/o.cjs"_s << u"large"_s << 102;
    }
    void startUpRefusesDataFilesThatAreNoPlainFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(int, reportedLine);
        Fixture f;
        platform::MdbDatabase database;
        if (file == u"dbWords.mdb")
            f.connectionFactory = [&] {
                return database.createConnection();
            };
        const QString path = f.folder.filePath(file);
        QDir().mkpath(QFileInfo(path).path());
        if (kind == u"large")
            testsupport::writeFile(path, cursorFile(1, 1) + QByteArray(1 << 20, ' '));
        else
            testsupport::makeSpecialFile(kind, path);
        app::MainWindow &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        if (reportedLine == 0) {
            QCOMPARE(reports, QStringList());
        } else {
            QVERIFY(!reports.isEmpty());
            QVERIFY2(reports.first().contains(u"at line %1"_s.arg(reportedLine)),
                     qPrintable(reports.first()));
        }
        QVERIFY(w.styleSheet().isEmpty());
    }

    // A theme's url() that names a pipe is emptied, however it is written:
    // the first paint would open the path Qt reads from it (CSS escapes
    // decoded) and wait for a writer forever. One naming a file stays.
    void themeUrlNamingAPipeNeverBlocks_data()
    {
        QTest::addColumn<QString>("url"); // %1 is the folder, in which "p" is a pipe
        QTest::newRow("quoted") << u"url(\"%1/p\")"_s;
        QTest::newRow("unquoted, blanks and a comment first") << u"url( /**/%1/p)"_s;
        QTest::newRow("a hex escape in a quoted path") << u"url(\"%1/\\70\")"_s;
        QTest::newRow("a hex escape of seven digits") << u"url(%1/\\0000707)"_s;
        QTest::newRow("an escaped letter, unquoted") << u"url(%1/\\p)"_s;
        QTest::newRow("an escaped letter in the name") << u"u\\rl(%1/p)"_s;
        QTest::newRow("a hex-escaped name") << u"\\75rl(%1/p)"_s;
    }
    void themeUrlNamingAPipeNeverBlocks()
    {
        QFETCH(QString, url);
        Fixture f;
        testsupport::makeSpecialFile(u"fifo"_s, f.folder.filePath(u"p"_s));
        const QString image = testsupport::writeFile(f.folder.filePath(u"i.png"_s), "x");
        // A seventh hex digit stands after the escape of six.
        if (url.endsWith(u"0000707)"))
            QVERIFY(QFile::rename(f.folder.filePath(u"p"_s), f.folder.filePath(u"p7"_s)));
        const QString pipe = url.arg(f.folder.path());
        f.writeFile(
            u"x/o.cjs"_s,
            (u"QPushButton { image: %1; } QLabel { image: url(%2); }"_s).arg(pipe, image).toUtf8());
        app::MainWindow &w = f.load();
        QCOMPARE(w.styleSheet(),
                 u"QPushButton { image: url(); } QLabel { image: url(%1); }"_s.arg(image));
        QVERIFY(!w.grab().isNull());
    }

    void pointerFollowsTheMouseButNeverReplacesTheHourglass()
    {
        Fixture f;
        f.writeFile(u"HAND-M.CUR"_s, cursorFile(5, 7));
        app::MainWindow &w = f.load();
        QCOMPARE(f.dialogs.errorReports(), QStringList());
        moveOver(find<QPushButton>(w, Control::StartButton));
        QCOMPARE(w.pointer(), core::Pointer::Custom);
        QCOMPARE(w.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(w.cursor().hotSpot(), QPoint(5, 7));
        moveOver(find<app::ItemListView>(w, Control::ResultsList)->viewport());
        QCOMPARE(w.pointer(), core::Pointer::Default);
        moveOver(find<QPushButton>(w, Control::SaveTextButton));
        QCOMPARE(w.pointer(), core::Pointer::Custom);
        moveOver(find<QGroupBox>(w, Control::IncludeFrame));
        QCOMPARE(w.pointer(), core::Pointer::Default);
        moveOver(find<QPushButton>(w, Control::StartButton));
        moveOver(find<QProgressBar>(w, Control::ProgressBar));
        QCOMPARE(w.pointer(), core::Pointer::Default);

        w.setPointer(core::Pointer::Hourglass);
        moveOver(find<QPushButton>(w, Control::ClearNumbersButton));
        moveOver(find<QGroupBox>(w, Control::ConvertFrame));
        moveOver(find<app::ItemListView>(w, Control::NumberList)->viewport());
        QCOMPARE(w.pointer(), core::Pointer::Hourglass);
        QCOMPARE(w.cursor().shape(), Qt::WaitCursor);
        // Asked again for the pointer it shows (a run asks before every
        // number), the window asks the display for nothing.
        testsupport::EventCounter changes(&w, QEvent::CursorChange);
        w.setPointer(core::Pointer::Hourglass);
        QCOMPARE(changes.count(), 0);
        w.setPointer(core::Pointer::Default);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }

    // The bar moves when the window next paints, not on its own: a run moves
    // it many times a second, and each paint of its own went to the display.
    void progressBarMovesWithTheWindowsPaint()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCoreApplication::processEvents();
        auto *bar = find<QProgressBar>(w, Control::ProgressBar);
        testsupport::EventCounter paints(bar, QEvent::Paint);
        w.setProgressValue(50);
        // The window's refresh alone, not its paint.
        QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall);
        QCOMPARE(bar->value(), 500);
        QCOMPARE(paints.count(), 0);
        QTRY_VERIFY(paints.count() > 0);
    }

    void withoutHandCursorButtonsShowTheArrow()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        moveOver(find<QPushButton>(w, Control::HelpButton));
        QCOMPARE(w.pointer(), core::Pointer::Custom);
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }

    void cursorFileThatIsNoPictureIsReported()
    {
        Fixture f;
        f.writeFile(u"HAND-M.CUR"_s, "this is not a cursor");
        app::MainWindow &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(u"Form1.Form_Load at line 108"_s));
        moveOver(find<QPushButton>(w, Control::HelpButton));
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }

    void helpShowsBothCurrentCaptionsUnderTheApplicationTitle()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        find<QRadioButton>(w, Control::MnemonicOption)->setText(u"Renamed mnemonic"_s);
        find<QPushButton>(w, Control::HelpButton)->click();
        QCOMPARE(f.dialogs.shown.size(), 1);
        const FakeDialogs::Shown &box = f.dialogs.shown.first();
        QVERIFY(box.text.startsWith(u"\"Renamed mnemonic\" - This feature"_s));
        QVERIFY(box.text.contains(u"\"Convert numbers into words\" - This feature"_s));
        QVERIFY(box.title.isEmpty());
        QCOMPARE(f.dialogs.applicationTitle(), u"Digitome"_s);
        QCOMPARE(box.icon, core::Dialogs::Icon::None);
    }

    void sampleDataIsAppendedAtEveryClick()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        w.numberList().append(u"555"_s);
        find<QPushButton>(w, Control::SampleButton)->click();
        find<QPushButton>(w, Control::SampleButton)->click();
        QCOMPARE(
            testsupport::texts(w.numberList()),
            (QStringList{u"555"_s, u"434-3453"_s, u"234-9237"_s, u"434-3453"_s, u"234-9237"_s}));
    }

    void conversionRunFromTheWindow_data()
    {
        QTest::addColumn<bool>("spelledOut");
        QTest::addColumn<bool>("withOriginal");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("words only") << false << false << QStringList{u"IF-I-FILE"_s};
        QTest::newRow("words only with the original")
            << false << true << QStringList{u"IF-I-FILE   -   434-3453"_s};
        QTest::newRow("spelled out") << true << false
                                     << QStringList{u"four three four three four five three"_s,
                                                    u"two three four nine two three seven"_s};
    }
    void conversionRunFromTheWindow()
    {
        QFETCH(bool, spelledOut);
        QFETCH(bool, withOriginal);
        QFETCH(QStringList, expected);
        Fixture f;
        app::MainWindow &w = f.load();
        if (spelledOut)
            find<QRadioButton>(w, Control::SpellOutOption)->click();
        find<QCheckBox>(w, Control::IncludeOriginalCheck)->setChecked(withOriginal);
        find<QPushButton>(w, Control::SampleButton)->click();
        find<QPushButton>(w, Control::StartButton)->click();
        QCOMPARE(testsupport::texts(w.resultsList()), expected);
        for (int row = 0; row < w.resultsList().rows(); ++row)
            QVERIFY(w.resultsList().isChecked(row));
        QCOMPARE(find<QPushButton>(w, Control::StartButton)->text(), u"Start Converting"_s);
        QCOMPARE(w.pointer(), core::Pointer::Default);
        QCoreApplication::processEvents();
        QCOMPARE(w.shownProgressText(), u"Progress Bar"_s);
        QCOMPARE(find<QProgressBar>(w, Control::ProgressBar)->value(), 0);
    }

    void stopDuringARunKeepsTheLinesSoFar()
    {
        Fixture f;
        app::MainWindow &w = loadLongRun(f, 1);
        find<QPushButton>(w, Control::StartButton)->click();
        const int linesOfOne = w.resultsList().rows();
        QVERIFY(linesOfOne > 1000);

        for (int i = 0; i < 10; ++i)
            w.numberList().append(u"22222222"_s);
        // Stop at the first moment the run lets events in.
        QTimer::singleShot(0, find<QPushButton>(w, Control::StartButton), [&] {
            QCOMPARE(find<QPushButton>(w, Control::StartButton)->text(), u"Stop"_s);
            QCOMPARE(w.pointer(), core::Pointer::Hourglass);
            find<QPushButton>(w, Control::StartButton)->click();
            QCOMPARE(find<QPushButton>(w, Control::StartButton)->text(),
                     u"Stop"_s); // until the next checkpoint
        });
        find<QPushButton>(w, Control::StartButton)->click();
        QVERIFY(w.resultsList().rows() < linesOfOne);
        QCOMPARE(find<QPushButton>(w, Control::StartButton)->text(), u"Start Converting"_s);
        QCOMPARE(w.pointer(), core::Pointer::Default);
    }

    // A list load yields as it reads: the start button reads "Stop" and a
    // click on it ends the load, keeping the numbers so far; no run starts.
    void stopDuringAListLoadKeepsTheNumbersSoFar()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        // With its byte-order mark the file is read in one pass, not first
        // looked through for UTF-8.
        const QString path =
            testsupport::writeFile(f.folder.filePath(u"numbers.txt"_s),
                                   "\xef\xbb\xbf"_ba + "434-3453\n"_ba.repeated(1 << 19));
        f.dialogs.openAnswers.enqueue({path});
        auto *start = find<QPushButton>(w, Control::StartButton);
        QString captionDuring;
        QTimer::singleShot(0, start, [&] {
            captionDuring = start->text();
            start->click();
        });
        find<QPushButton>(w, Control::LoadFileButton)->click();
        QCOMPARE(captionDuring, u"Stop"_s);
        QVERIFY(w.numberList().rows() > 0);
        QVERIFY(w.numberList().rows() < (1 << 19));
        QCOMPARE(w.numberList().text(0), u"434-3453"_s);
        QCOMPARE(w.resultsList().rows(), 0);
        QCOMPARE(start->text(), u"Start Converting"_s);
        QCOMPARE(w.shownProgressText(), u"Progress Bar"_s);
        QCOMPARE(w.pointer(), core::Pointer::Default);
    }

    // The window writes the caption from the count the run gives it, when it
    // draws.
    void progressCaptionCountsDuringARun()
    {
        Fixture f;
        app::MainWindow &w = loadLongRun(f, 8);
        const QString prefix = u"Generating words.. please wait.. "_s;
        QList<qint64> counts;
        QTimer watcher;
        QObject::connect(
            &watcher, &QTimer::timeout, find<QPushButton>(w, Control::ClearResultsButton), [&] {
                const QString caption = w.shownProgressText();
                if (!caption.startsWith(prefix))
                    return;
                bool isNumber = false;
                counts.append(caption.sliced(prefix.size()).toLongLong(&isNumber));
                QVERIFY2(isNumber, qPrintable(caption));
            });
        watcher.start(0);
        find<QPushButton>(w, Control::StartButton)->click();
        watcher.stop();
        QVERIFY(!counts.isEmpty());
        QVERIFY(counts.front() > 0);
        QVERIFY(std::is_sorted(counts.cbegin(), counts.cend()));
        // The run counts 87,380 steps for each number.
        QVERIFY(counts.back() <= 8 * qint64(87380));
        QCoreApplication::processEvents();
        QCOMPARE(w.shownProgressText(), u"Progress Bar"_s);
    }

    void clearResultsDuringARunEmptiesTheListAndTheRunGoesOn()
    {
        Fixture f;
        app::MainWindow &w = loadLongRun(f, 3);
        // Clear the results the first time the run lets events in with some
        // lines shown.
        int rowsAtClear = -1;
        QTimer watcher;
        QObject::connect(
            &watcher, &QTimer::timeout, find<QPushButton>(w, Control::ClearResultsButton), [&] {
                if (rowsAtClear >= 0 || w.resultsList().rows() == 0)
                    return;
                rowsAtClear = w.resultsList().rows();
                find<QPushButton>(w, Control::ClearResultsButton)->click();
                QCOMPARE(w.resultsList().rows(), 0);
            });
        watcher.start(0);
        find<QPushButton>(w, Control::StartButton)->click();
        QVERIFY(rowsAtClear > 0);
        QVERIFY(w.resultsList().rows() > 0);
        QCOMPARE(find<QPushButton>(w, Control::StartButton)->text(), u"Start Converting"_s);
    }

    void runStartedInsideAnotherCommandsYieldIsSeenWhole()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        find<QRadioButton>(w, Control::SpellOutOption)->click();
        w.numberList().append(u"12"_s);
        w.resultsList().append(u"old"_s, true);
        // The run starts at Copy's first yield and ends inside it; Copy then
        // reads the list as the run left it.
        QTimer::singleShot(0, find<QPushButton>(w, Control::StartButton), [&] {
            find<QPushButton>(w, Control::StartButton)->click();
        });
        find<QPushButton>(w, Control::CopyButton)->click();
        QCOMPARE(f.dialogs.errorReports(), QStringList());
        QCOMPARE(f.clipboard.content, u"one two\r\n"_s);
        QCOMPARE(f.dialogs.messages().size(), 1);
    }

    void listsShowTheirToolTipOverEveryRow()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        find<QPushButton>(w, Control::SampleButton)->click();
        const QModelIndex row = w.numberList().index(0, 0);
        QVERIFY(!w.numberList().data(row, Qt::ToolTipRole).isValid());
        QCOMPARE(find<app::ItemListView>(w, Control::NumberList)->toolTip(),
                 u"Double-click item to remove it. Move | line to right and out of window to "
                 "reveal full names."_s);
        QCOMPARE(find<app::ItemListView>(w, Control::ResultsList)->toolTip(),
                 find<app::ItemListView>(w, Control::NumberList)->toolTip());
    }

    // Over a number holding letters the number list says what it dials, and
    // its context menu's "Copy as digits" copies that; elsewhere the list's
    // own tool tip shows.
    void numbersWithLettersShowAndCopyTheirDigits_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("toolTip"); // null: the list's own
        QTest::addColumn<QString>("digits");
        QTest::newRow("letters") << u"1-800-FLOWERS"_s << u"Dials 1-800-356-9377"_s
                                 << u"1-800-356-9377"_s;
        QTest::newRow("letters beyond the plan")
            << u"1-800-FLOWERSS"_s
            << u"Dials 1-800-35693777\nLonger than a North American number (11 digits with the "
               "leading 1): the last letter S is not dialled."_s
            << u"1-800-35693777"_s;
        QTest::newRow("Cyrillic") << u"(212) ДА-ДА"_s << u"Dials (212) 32-32"_s << u"(212) 32-32"_s;
        QTest::newRow("digits only") << u"434-3453"_s << QString() << u"434-3453"_s;
    }
    void numbersWithLettersShowAndCopyTheirDigits()
    {
        QFETCH(QString, number);
        QFETCH(QString, toolTip);
        QFETCH(QString, digits);
        Fixture f;
        app::MainWindow &w = f.load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.numberList().append(number);
        auto *view = find<app::ItemListView>(w, Control::NumberList);
        QCOMPARE(toolTipOver(*view, 0), toolTip.isNull() ? view->toolTip() : toolTip);

        auto *numberMenu = w.findChild<app::NumberListMenu *>();
        QMenu unselected;
        numberMenu->fillMenu(unselected);
        QCOMPARE(unselected.actions().size(), 1);
        QCOMPARE(unselected.actions().first()->text(), u"Copy as digits"_s);
        QVERIFY(!unselected.actions().first()->isEnabled());
        view->setCurrentIndex(w.numberList().index(0, 0));
        QMenu selected;
        numberMenu->fillMenu(selected);
        selected.actions().first()->trigger();
        QCOMPARE(f.clipboard.content, digits);
    }

    // While a ranked order shows, a result line's tool tip is its score and
    // the parts it is made of.
    void resultLinesRankedExplainTheirScore()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.numberList().append(u"434-3453"_s);
        find<QPushButton>(w, Control::StartButton)->click();
        QCOMPARE(testsupport::texts(w.resultsList()), QStringList{u"IF-I-FILE"_s});
        auto *view = find<app::ItemListView>(w, Control::ResultsList);
        QCOMPARE(toolTipOver(*view, 0), view->toolTip());
        view->horizontalHeader()->sectionClicked(0);
        const engine::LineScore score =
            engine::LineRanking(w.wordStore(), u"434-3453"_s).explain(u"IF-I-FILE"_s);
        QVERIFY(score.score > 0);
        const QStringList lines = toolTipOver(*view, 0).split(u'\n');
        QCOMPARE(lines.first(),
                 u"Score %1 (larger is better)"_s.arg(
                     QLocale(QLocale::English, QLocale::UnitedStates).toString(score.score)));
        QCOMPARE(lines.size(), 1 + score.parts().size());
        QVERIFY(lines.contains(u"pieces: 3"_s));
        QVERIFY(lines.contains(u"longest word: 4"_s));
    }

    // "Hide offensive words" in the results' context menu hides the lines
    // holding a rated word, also as a run finds them: they are not copied and
    // the count says so; unticked, they show again. Off unless stored "True".
    void offensiveLinesHiddenFromTheMenu_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("hiding");
        QTest::addColumn<QString>("count");
        QTest::newRow("off when absent") << QString() << false << u"2 results, 2 ticked"_s;
        QTest::newRow("off when no Boolean") << u"maybe"_s << false << u"2 results, 2 ticked"_s;
        QTest::newRow("stored on: hidden as the run finds them")
            << u"True"_s << true << u"1 result, 1 ticked, 1 hidden"_s;
    }
    void offensiveLinesHiddenFromTheMenu()
    {
        QFETCH(QString, stored);
        QFETCH(bool, hiding);
        QFETCH(QString, count);
        Fixture f;
        f.words = {u"I"_s, u"if"_s, u"File"_s, u"ace"_s};
        f.offensive = {0, 0, 1, 0};
        if (!stored.isNull())
            f.settings.setDigitome(u"HideOffensiveWords"_s, stored);
        app::MainWindow &w = f.load();
        w.numberList().appendBatch({u"434-3453"_s, u"223-223"_s}, false);
        find<QPushButton>(w, Control::StartButton)->click();
        const QStringList all{u"IF-I-FILE"_s, u"ACE-ACE"_s};
        const QStringList clean{u"ACE-ACE"_s};
        QCOMPARE(testsupport::texts(w.resultsList()), hiding ? clean : all);
        find<QPushButton>(w, Control::CopyButton)->click();
        QCOMPARE(f.clipboard.content, (hiding ? clean : all).join(u"\r\n"_s) + u"\r\n"_s);

        QMenu menu;
        w.findChild<app::ResultsOrderControl *>()->fillMenu(menu);
        QCOMPARE(menu.actions().first()->text(), count);
        const QList<QAction *> actions = menu.actions();
        QAction *hide = *std::find_if(actions.begin(), actions.end(), [](const QAction *action) {
            return action->text() == u"Hide offensive words"_s;
        });
        QVERIFY(hide->isCheckable());
        QCOMPARE(hide->isChecked(), hiding);
        hide->trigger();
        QCOMPARE(f.settings.digitome(u"HideOffensiveWords"_s), hiding ? u"False"_s : u"True"_s);
        QCOMPARE(testsupport::texts(w.resultsList()), hiding ? all : clean);
        QCOMPARE(w.resultsList().checkedRows(), hiding ? 2 : 1);
    }

    // The header toggles "As found" and "Best first", the context menu offers
    // all three orders under a count; the outputs follow the order shown.
    void resultsOrderFromHeaderAndMenu()
    {
        Fixture f;
        app::MainWindow &w = loadLongRun(f, 1);
        find<QPushButton>(w, Control::StartButton)->click();
        const QStringList found = testsupport::texts(w.resultsList());
        QVERIFY(found.size() > 1000);
        w.resultsList().setChecked(0, false);
        QHeaderView *header = find<app::ItemListView>(w, Control::ResultsList)->horizontalHeader();

        header->sectionClicked(0);
        QTRY_COMPARE(w.resultsList().order(), core::ItemListModel::Order::BestFirst);
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(f.settings.digitome(u"ResultsOrder"_s), u"Best first"_s);
        const QStringList best = testsupport::texts(w.resultsList());
        QVERIFY(best != found);
        QCOMPARE(QSet<QString>(best.cbegin(), best.cend()),
                 QSet<QString>(found.cbegin(), found.cend()));
        find<QPushButton>(w, Control::CopyButton)->click();
        QStringList copied = f.clipboard.content.split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), best.size() - 1);
        QCOMPARE(copied.front(), best.at(best.front() == found.front() ? 1 : 0));

        QMenu menu;
        w.findChild<app::ResultsOrderControl *>()->fillMenu(menu);
        const QList<QAction *> actions = menu.actions();
        QCOMPARE(actions.first()->text(),
                 app::ResultsOrderControl::countLine(found.size(), found.size() - 1));
        QVERIFY(!actions.first()->isEnabled());
        QAction *aToZ = *std::find_if(actions.begin(), actions.end(), [](const QAction *action) {
            return action->text() == u"A to Z"_s;
        });
        aToZ->trigger();
        QTRY_COMPARE(w.resultsList().order(), core::ItemListModel::Order::AToZ);
        QStringList sorted = found;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(testsupport::texts(w.resultsList()), sorted);
        QCOMPARE(f.settings.digitome(u"ResultsOrder"_s), u"A to Z"_s);

        header->sectionClicked(0);
        QCOMPARE(testsupport::texts(w.resultsList()), found);
        QVERIFY(!header->isSortIndicatorShown());
        QCOMPARE(f.settings.digitome(u"ResultsOrder"_s), u"As found"_s);
    }

    // Commands clicked over and over while a run fills the list (and the
    // window closed once): afterwards the list holds every line once, ticked,
    // in the order it shows.
    void commandsRepeatedDuringARun_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("the header toggles the order") << 0;
        QTest::newRow("A to Z and back") << 1;
        QTest::newRow("remove containing, once more after") << 2;
        QTest::newRow("copy, close") << 3;
    }

    void commandsRepeatedDuringARun()
    {
        QFETCH(int, command);
        using Order = core::ItemListModel::Order;
        Fixture quiet;
        find<QPushButton>(loadLongRun(quiet, 3), Control::StartButton)->click();
        QStringList expected = testsupport::texts(quiet.window->resultsList());
        if (command == 2)
            expected.removeIf([](const QString &line) {
                return line.contains(u"cab"_s, Qt::CaseInsensitive);
            });

        Fixture f;
        app::MainWindow &w = loadLongRun(f, 3);
        auto *order = w.findChild<app::ResultsOrderControl *>();
        int clicks = 0;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, [&] {
            ++clicks;
            if (command == 0)
                find<app::ItemListView>(w, Control::ResultsList)
                    ->horizontalHeader()
                    ->sectionClicked(0);
            else if (command == 1)
                order->setOrder(order->order() == Order::AToZ ? Order::AsFound : Order::AToZ);
            else if (command == 2) {
                f.dialogs.promptAnswers.enqueue(u"cab"_s);
                find<QPushButton>(w, Control::RemoveContainingButton)->click();
            } else if (clicks == 2) {
                w.close();
            } else {
                find<QPushButton>(w, Control::CopyButton)->click();
            }
        });
        clicker.start(0);
        find<QPushButton>(w, Control::StartButton)->click();
        clicker.stop();
        QVERIFY2(clicks > 2, qPrintable(QString::number(clicks)));
        if (command == 2) {
            f.dialogs.promptAnswers.enqueue(u"cab"_s);
            find<QPushButton>(w, Control::RemoveContainingButton)->click();
        }
        QCOMPARE(f.processEnds, command == 3 ? 1 : 0);

        core::ItemListModel &results = w.resultsList();
        results.finishOrdering();
        QCOMPARE(results.storedLines(), qsizetype(results.rows()));
        QCOMPARE(results.checkedRows(), results.rows());
        QStringList shown = testsupport::texts(results);
        if (results.order() == Order::AsFound) {
            QCOMPARE(shown, expected);
            return;
        }
        if (results.order() == Order::AToZ)
            QVERIFY(std::is_sorted(
                shown.cbegin(), shown.cend(), [](const QString &a, const QString &b) {
                    return a.compare(b, Qt::CaseInsensitive) < 0;
                }));
        shown.sort();
        expected.sort();
        QCOMPARE(shown, expected);
    }

    // "Best number first" shows each number's best line by the ranking, the
    // numbers best first; the other lines count as hidden.
    void bestNumberFirstFromTheMenu()
    {
        Fixture f;
        f.words = {u"I"_s, u"if"_s, u"File"_s, u"ace"_s, u"be"_s};
        app::MainWindow &w = f.load();
        find<QRadioButton>(w, Control::WordsAndNumbersOption)->click();
        find<QCheckBox>(w, Control::IncludeOriginalCheck)->click();
        w.numberList().appendBatch({u"434-3453"_s, u"223-223"_s, u"223-2233"_s}, false);
        find<QPushButton>(w, Control::StartButton)->click();
        const QStringList found = testsupport::texts(w.resultsList());
        // Each number's first line of the least key, then by key.
        std::map<QString, std::pair<quint32, QString>> best;
        QStringList numbers;
        for (const QString &line : found) {
            const QString number = line.section(u"   -   "_s, 1);
            const quint32 key = engine::LineRanking(w.wordStore(), number).key(line);
            if (!best.count(number)) {
                numbers.append(number);
                best[number] = {key, line};
            } else if (key < best[number].first) {
                best[number] = {key, line};
            }
        }
        QCOMPARE(numbers.size(), 3);
        std::stable_sort(numbers.begin(), numbers.end(), [&](const QString &a, const QString &b) {
            return best[a].first < best[b].first;
        });
        QStringList expected;
        for (const QString &number : numbers)
            expected.append(best[number].second);

        QMenu menu;
        w.findChild<app::ResultsOrderControl *>()->fillMenu(menu);
        const QList<QAction *> actions = menu.actions();
        (*std::find_if(actions.begin(), actions.end(), [](const QAction *action) {
            return action->text() == u"Best number first"_s;
        }))->trigger();
        QCOMPARE(testsupport::texts(w.resultsList()), expected);
        QCOMPARE(f.settings.digitome(u"ResultsOrder"_s), u"Best number first"_s);
        QCOMPARE(app::ResultsOrderControl::countLine(w.resultsList().rows(),
                                                     w.resultsList().checkedRows(),
                                                     w.resultsList().hiddenLines()),
                 app::ResultsOrderControl::countLine(3, 3, found.size() - 3));
    }

    // An order that cannot be made for lack of memory is said so, and the
    // list keeps its order.
    void resultsOrderWithoutMemoryKeepsTheOrder()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        core::ItemListModel results({u"Results"_s});
        results.appendBatch({u"b"_s, u"a"_s}, true);
        app::OptionSettings options(f.settings);
        app::ResultsOrderControl control(*find<app::ItemListView>(w, Control::ResultsList),
                                         results,
                                         options,
                                         f.dialogs,
                                         []() -> core::ItemListModel::Rank {
                                             throw std::bad_alloc();
                                         });
        control.setOrder(core::ItemListModel::Order::BestFirst);
        QCOMPARE(results.order(), core::ItemListModel::Order::AsFound);
        QCOMPARE(testsupport::texts(results), (QStringList{u"b"_s, u"a"_s}));
        QCOMPARE(f.dialogs.messages(),
                 QStringList{u"There is not enough memory to show the results in this order."_s});
        QCOMPARE(f.settings.digitome(u"ResultsOrder"_s), QString());
    }

    void storedResultsOrderIsRestored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("order");
        QTest::newRow("absent") << QString() << int(core::ItemListModel::Order::AsFound);
        QTest::newRow("best first")
            << u"Best first"_s << int(core::ItemListModel::Order::BestFirst);
        QTest::newRow("a to z") << u"A to Z"_s << int(core::ItemListModel::Order::AToZ);
        QTest::newRow("best number first")
            << u"Best number first"_s << int(core::ItemListModel::Order::BestNumberFirst);
        QTest::newRow("unknown") << u"best first"_s << int(core::ItemListModel::Order::AsFound);
    }
    void storedResultsOrderIsRestored()
    {
        QFETCH(QString, stored);
        QFETCH(int, order);
        Fixture f;
        if (!stored.isNull())
            f.settings.setDigitome(u"ResultsOrder"_s, stored);
        app::MainWindow &w = f.load();
        QCOMPARE(int(w.resultsList().order()), order);
        QCOMPARE(f.dialogs.errorReports(), QStringList());
    }

    // "Spell digits in", beside the orders in the context menu, lists each
    // language by its own name; the choice is stored under "SpellLanguage" and
    // restored at the next start. Absent or unknown, it is English.
    void spellLanguageFromTheMenu_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("picked");  // a menu entry, or none
        QTest::addColumn<QString>("checked"); // when the menu opens
        QTest::addColumn<QString>("line");
        QTest::newRow("absent: English")
            << QString() << QString() << u"English"_s << u"four three"_s;
        QTest::newRow("unknown: English")
            << u"tlh"_s << QString() << u"English"_s << u"four three"_s;
        QTest::newRow("stored: restored")
            << u"uk"_s << QString() << u"Українська"_s << u"чотири три"_s;
        QTest::newRow("picked: stored and used")
            << u"de"_s << u"Ελληνικά"_s << u"Deutsch"_s << u"τέσσερα τρία"_s;
    }
    void spellLanguageFromTheMenu()
    {
        QFETCH(QString, stored);
        QFETCH(QString, picked);
        QFETCH(QString, checked);
        QFETCH(QString, line);
        Fixture f;
        if (!stored.isNull())
            f.settings.setDigitome(u"SpellLanguage"_s, stored);
        app::MainWindow &w = f.load();
        QMenu menu;
        w.findChild<app::ResultsOrderControl *>()->fillMenu(menu);
        QMenu *languages = menu.actions().last()->menu();
        QVERIFY(languages);
        QCOMPARE(menu.actions().last()->text(), u"Spell digits in"_s);
        QStringList names;
        QStringList checkedNames;
        for (const QAction *action : languages->actions()) {
            names.append(action->text());
            if (action->isChecked())
                checkedNames.append(action->text());
        }
        QCOMPARE(checkedNames, QStringList{checked});
        QCOMPARE(names,
                 QStringList({u"English"_s,
                              u"Deutsch"_s,
                              u"Français"_s,
                              u"Español"_s,
                              u"Italiano"_s,
                              u"Polski"_s,
                              u"Русский"_s,
                              u"Українська"_s,
                              u"Български"_s,
                              u"Ελληνικά"_s}));
        if (!picked.isNull()) {
            languages->actions().at(names.indexOf(picked))->trigger();
            QCOMPARE(f.settings.digitome(u"SpellLanguage"_s), u"el"_s);
        }
        find<QRadioButton>(w, Control::SpellOutOption)->click();
        w.numberList().append(u"4-3"_s);
        find<QPushButton>(w, Control::StartButton)->click();
        QCOMPARE(testsupport::texts(w.resultsList()), QStringList{line});
    }

    // A run whose results would outgrow the memory available when it started
    // stops as if Stop had been clicked, keeps its lines and says so once.
    void runStopsBeforeTheResultsOutgrowTheMemory()
    {
        Fixture f;
        app::MainWindow &w = loadLongRun(f, 3);
        find<QPushButton>(w, Control::StartButton)->click();
        const int all = w.resultsList().rows();
        find<QPushButton>(w, Control::ClearResultsButton)->click();
        f.availableMemory = (qint64(256) << 20) + 100'000; // leaves 100 kB for the results
        find<QPushButton>(w, Control::StartButton)->click();
        const int kept = w.resultsList().rows();
        QVERIFY(kept >= 4096);
        QVERIFY2(kept < all, qPrintable(u"%1 of %2"_s.arg(kept).arg(all)));
        QCOMPARE(f.dialogs.messages().size(), 1);
        QVERIFY(f.dialogs.messages().front().startsWith(u"The results were cut short"_s));
        QVERIFY(f.dialogs.messages().front().contains(QLocale(QLocale::English).toString(kept)));
        QCOMPARE(find<QPushButton>(w, Control::StartButton)->text(), u"Start Converting"_s);
        QCOMPARE(f.dialogs.errorReports(), QStringList());
    }

    // Under the default and a dark colour scheme every caption on the white
    // window stays readable (at least 4.5 to 1 against what is behind it),
    // and so does the text of a selected row; the marks of check boxes and
    // option buttons stand out at least 3 to 1.
    void coloursKeepTextAndMarksReadable_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("default scheme") << false;
        QTest::newRow("dark scheme") << true;
    }
    void coloursKeepTextAndMarksReadable()
    {
        QFETCH(bool, dark);
        const QPalette saved = QApplication::palette();
        QPalette scheme = saved;
        if (dark) {
            for (const auto role :
                 {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
                scheme.setColor(role, QColor(49, 54, 59));
            for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                scheme.setColor(role, QColor(239, 240, 241));
            scheme.setColor(QPalette::Highlight, QColor(61, 174, 233));
            scheme.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
        }
        QApplication::setPalette(scheme);
        Fixture f;
        app::MainWindow &w = f.load();
        w.numberList().append(u"434-3453"_s);
        w.resultsList().append(u"IF-I-FILE"_s, true);
        w.resultsList().append(u"IF-I-DIKE"_s, false);
        auto *results = find<app::ItemListView>(w, Control::ResultsList);
        results->setCurrentIndex(w.resultsList().index(0, 0));
        w.show();
        QList<QWidget *> captions;
        for (const Control c : {Control::MnemonicOption,
                                Control::SpellOutOption,
                                Control::WordsAndNumbersOption,
                                Control::WordsOnlyOption,
                                Control::IncludeOriginalCheck,
                                Control::StartButton,
                                Control::ProgressBar})
            captions.append(find<QWidget>(w, c));
        for (const Control c : {Control::NumberList, Control::ResultsList}) {
            captions.append(find<app::ItemListView>(w, c)->horizontalHeader());
            captions.append(find<app::ItemListView>(w, c)->viewport());
        }
        for (QWidget *caption : std::as_const(captions))
            QVERIFY2(contrastOf(caption->grab().toImage()) >= 4.5,
                     qPrintable(caption->objectName()));
        for (const Control c :
             {Control::ConvertFrame, Control::MnemonicFrame, Control::IncludeFrame}) {
            auto *frame = find<QGroupBox>(w, c);
            const QImage title = frame->grab(QRect(0, 0, frame->width(), 16)).toImage();
            QVERIFY2(contrastOf(title) >= 4.5, qPrintable(frame->objectName()));
            // Frames are white inside, not tinted by the style.
            QCOMPARE(frame->grab().toImage().pixelColor(frame->width() / 2, frame->height() - 4),
                     QColor(Qt::white));
        }
        const double selectedText = contrastOf(rowPart(*results, 0, QStyle::SE_ItemViewItemText));
        QVERIFY2(selectedText >= 4.5, qPrintable(QString::number(selectedText)));
        auto *check = find<QCheckBox>(w, Control::IncludeOriginalCheck);
        const QList<std::pair<QString, QImage>> marks{
            {u"option"_s, markOf(*find<QRadioButton>(w, Control::MnemonicOption))},
            {u"option, not chosen"_s, markOf(*find<QRadioButton>(w, Control::SpellOutOption))},
            {u"check box"_s, markOf(*check)},
            {u"selected row's tick"_s, rowPart(*results, 0, QStyle::SE_ItemViewItemCheckIndicator)},
            {u"row without tick"_s, rowPart(*results, 1, QStyle::SE_ItemViewItemCheckIndicator)},
        };
        check->setChecked(true);
        for (const auto &[name, image] :
             marks + QList{std::pair{u"ticked check box"_s, markOf(*check)}}) {
            const double contrast = contrastOf(image);
            QVERIFY2(contrast >= 3, qPrintable(u"%1: %2"_s.arg(name).arg(contrast)));
        }
        QApplication::setPalette(saved);
    }

    void keyboard()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // Enter presses the focused button.
        find<QPushButton>(w, Control::SampleButton)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.numberList().rows(), 2);
        // Tab enters each pair of options at its checked one.
        find<QPushButton>(w, Control::HelpButton)->setFocus();
        const QList<Control> stops{Control::MnemonicOption,
                                   Control::IncludeOriginalCheck,
                                   Control::RemoveContainingButton,
                                   Control::RemoveNotContainingButton,
                                   Control::WordsOnlyOption};
        for (const Control stop : stops) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), find<QWidget>(w, stop));
        }
        // Standard keys for the common commands.
        const std::pair<QKeySequence, QString> shortcuts[] = {
            {QKeySequence(Qt::Key_F1), u"message"_s},
            {QKeySequence(Qt::CTRL | Qt::Key_O), u"open"_s},
            {QKeySequence(Qt::CTRL | Qt::Key_S), u"save"_s},
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), u"message"_s},
        };
        for (const auto &[keys, kind] : shortcuts) {
            f.dialogs.shown.clear();
            QTest::keySequence(&w, keys);
            QCOMPARE(f.dialogs.shown.size(), 1);
            QCOMPARE(f.dialogs.shown.first().kind, kind);
        }
        QTest::keySequence(&w, QKeySequence(Qt::CTRL | Qt::Key_Return));
        QCOMPARE(testsupport::texts(w.resultsList()), (QStringList{u"IF-I-FILE"_s}));
    }

    // The lists' own view: a click on a row's check box ticks it, the arrow
    // keys move the selection, Delete removes the selected row, and screen
    // readers see a table of rows.
    void listViewClicksAndKeys()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const QString &line : {u"A"_s, u"B"_s, u"C"_s})
            w.resultsList().append(line, true);
        auto *view = find<app::ItemListView>(w, Control::ResultsList);
        const QRect second = view->visualRect(w.resultsList().index(1, 0));
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, QPoint(second.left() + 9, second.center().y()));
        QVERIFY(!w.resultsList().isChecked(1));
        QVERIFY(w.resultsList().isChecked(0));
        view->setFocus();
        view->setCurrentIndex(w.resultsList().index(0, 0));
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(view->currentIndex().row(), 2);
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(testsupport::texts(w.resultsList()), (QStringList{u"A"_s, u"B"_s}));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(view);
        QCOMPARE(accessible->role(), QAccessible::List);
        // The header, then the rows; the row that is current has the focus.
        QCOMPARE(accessible->childCount(), 3);
        QCOMPARE(accessible->child(0)->role(), QAccessible::ColumnHeader);
        QCOMPARE(accessible->child(0)->text(QAccessible::Name), u"Results"_s);
        QAccessibleInterface *row = accessible->child(2);
        QCOMPARE(row->text(QAccessible::Name), u"B"_s);
        QVERIFY(row->state().checkable && !row->state().checked);
        QVERIFY(row->state().focused && row->state().selected);
        QCOMPARE(accessible->focusChild(), row);
        QCOMPARE(row->parent(), accessible);
        QCOMPARE(accessible->indexOfChild(row), 2);
        QCOMPARE(accessible->tableInterface()->rowCount(), 2);
    }

    void screenReadersHearNamesAndTheProgressCaption_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("number list") << int(Control::NumberList) << u"Phone numbers"_s;
        QTest::newRow("results list") << int(Control::ResultsList) << u"Results"_s;
        QTest::newRow("progress bar") << int(Control::ProgressBar) << u"Progress"_s;
        QTest::newRow("outer frame") << int(Control::ConvertFrame) << u"Convert Option"_s;
        QTest::newRow("inner frame") << int(Control::MnemonicFrame) << u"Mnemonic Option"_s;
        QTest::newRow("include frame") << int(Control::IncludeFrame) << u"Include Option"_s;
    }
    void screenReadersHearNamesAndTheProgressCaption()
    {
        QFETCH(int, control);
        QFETCH(QString, name);
        Fixture f;
        app::MainWindow &w = f.load();
        QAccessibleInterface *accessible =
            QAccessible::queryAccessibleInterface(find<QWidget>(w, Control(control)));
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QVERIFY(!accessible->text(QAccessible::Description).isEmpty());
        if (Control(control) == Control::ProgressBar) {
            QCOMPARE(accessible->text(QAccessible::Value), u"Progress Bar"_s);
            QCOMPARE(accessible->textInterface()->text(0, -1), u"Progress Bar"_s);
            QCOMPARE(accessible->valueInterface()->currentValue(), QVariant(0));
            w.setProgressText(u"Writing file: results.txt"_s);
            QCoreApplication::processEvents();
            QCOMPARE(accessible->text(QAccessible::Value), u"Writing file: results.txt"_s);
            QCOMPARE(accessible->textInterface()->characterCount(), 25);
            // A "%" is shown as it stands.
            w.setProgressText(u"Writing file: 100% sure.txt"_s);
            QCoreApplication::processEvents();
            QCOMPARE(find<QProgressBar>(w, Control::ProgressBar)->text(),
                     u"Writing file: 100% sure.txt"_s);
        }
    }

    // A reader's press clicks at the window's next events, not after Qt's
    // 100 ms press animation: Stop must stop a run at once.
    void screenReadersPressButtonsAtOnce()
    {
        Fixture f;
        app::MainWindow &w = f.load();
        QAccessibleInterface *sample =
            QAccessible::queryAccessibleInterface(find<QPushButton>(w, Control::SampleButton));
        QCOMPARE(sample->role(), QAccessible::Button);
        QCOMPARE(sample->text(QAccessible::Name),
                 find<QPushButton>(w, Control::SampleButton)->text().remove(u'&'));
        sample->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w.numberList().rows(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(testsupport::texts(w.numberList()), (QStringList{u"434-3453"_s, u"234-9237"_s}));
    }

    void closingDuringARunEndsTheProcess()
    {
        Fixture f;
        f.words = {u"a"_s, u"b"_s, u"c"_s, u"ab"_s};
        app::MainWindow &w = f.load();
        find<QRadioButton>(w, Control::WordsAndNumbersOption)->click();
        w.numberList().append(u"2222222222"_s);
        w.show();
        QTimer::singleShot(100, &w, [&] {
            w.close();
            // The fake ends nothing; stop the run so the test can go on.
            find<QPushButton>(w, Control::StartButton)->click();
        });
        find<QPushButton>(w, Control::StartButton)->click();
        QCOMPARE(f.processEnds, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
