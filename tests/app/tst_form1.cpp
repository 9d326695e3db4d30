#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "FakeSettingsStore.h"
#include "FakeSpreadsheet.h"
#include "MemoryConnection.h"
#include "app/Form1.h"
#include "platform/MdbDatabase.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImageWriter>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// One window with fake services over a temporary application folder.
struct Fixture
{
    QTemporaryDir folder;
    FakeDialogs dialogs;
    FakeSettingsStore settings;
    FakeClipboard clipboard;
    FakeSpreadsheet spreadsheet;
    QList<std::optional<QString>> words{u"I"_s, u"if"_s, u"File"_s};
    QString openFailure;
    int processEnds = 0;
    std::unique_ptr<app::Form1> window;

    app::Form1 &load()
    {
        window = std::make_unique<app::Form1>(app::Services{
            dialogs,
            settings,
            clipboard,
            spreadsheet,
            [this] {
                auto connection = std::make_unique<MemoryConnection>();
                connection->words = words;
                connection->openFailure = openFailure;
                return connection;
            },
            folder.path(),
            [this] {
                ++processEnds;
            },
        });
        window->Form_Load();
        return *window;
    }

    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        const QString path = folder.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

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
app::Form1 &loadLongRun(Fixture &f, int numbers)
{
    f.words = {u"a"_s, u"b"_s, u"c"_s, u"ab"_s, u"ba"_s, u"abc"_s, u"cab"_s};
    app::Form1 &w = f.load();
    w.Option3->click();
    for (int i = 0; i < numbers; ++i)
        w.numberList().append(u"22222222"_s);
    return w;
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

QStringList texts(const lists::ItemListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rows(); ++row)
        result.append(model.text(row));
    return result;
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptySettingsOpenWithMnemonicWordsOnly()
    {
        Fixture f;
        app::Form1 &w = f.load();
        QVERIFY(w.Option1->isChecked());
        QVERIFY(w.Option4->isChecked());
        QVERIFY(!w.Option2->isChecked());
        QVERIFY(!w.Option3->isChecked());
        QVERIFY(w.Frame1->isEnabled());
        QVERIFY(!w.Check1->isChecked());
        QCOMPARE(f.dialogs.errorReports(), QStringList());
        QCOMPARE(w.windowTitle(), u"Digitome"_s);
        QCOMPARE(w.pointer(), engine::Pointer::Default);
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
        QTest::newRow("Check1 True by hand stays unchecked")
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
        app::Form1 &w = f.load();
        QString actual;
        const QRadioButton *options[] = {w.Option1, w.Option2, w.Option3, w.Option4};
        for (int i = 0; i < 4; ++i)
            if (options[i]->isChecked())
                actual += QString::number(i + 1);
        QCOMPARE(actual, selected);
        QCOMPARE(w.Frame1->isEnabled(), frame1Enabled);
        QCOMPARE(w.Check1->isChecked(), checked);
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
        app::Form1 &w = f.load();
        w.Option2->click();
        QCOMPARE(f.settings.digitome(u"Option1"_s), u"False"_s);
        QCOMPARE(f.settings.digitome(u"Option2"_s), u"True"_s);
        QVERIFY(!w.Frame1->isEnabled());
        w.Option3->setEnabled(true);
        w.Frame1->setEnabled(true);
        w.Option3->click();
        QCOMPARE(f.settings.digitome(u"Option3"_s), u"True"_s);
        QCOMPARE(f.settings.digitome(u"Option4"_s), u"False"_s);
        w.Check1->click();
        QCOMPARE(f.settings.digitome(u"Check1"_s), u"1"_s);
        w.Check1->click();
        QCOMPARE(f.settings.digitome(u"Check1"_s), u"0"_s);
        w.Option1->click();
        QVERIFY(w.Frame1->isEnabled());
        QVERIFY(w.Option3->isChecked()); // the nested group is left alone

        // The next start restores what was written.
        Fixture again;
        again.settings = f.settings;
        app::Form1 &next = again.load();
        QVERIFY(next.Option1->isChecked());
        QVERIFY(next.Option3->isChecked());
        QVERIFY(!next.Check1->isChecked());
    }

    void missingDictionaryIsReportedTwiceAndTheWindowStillOpens()
    {
        Fixture f;
        f.openFailure = u"Could not find file '/x/dbWords.mdb'."_s;
        app::Form1 &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports.at(0).startsWith(u"Could not find file '/x/dbWords.mdb'.\r\n"_s));
        QVERIFY(reports.at(0).contains(u"Form1.Form_Load at line 140\r\r"_s));
        QVERIFY(reports.at(1).contains(u"Form1.Form_Load at line 146\r\r"_s));
        QVERIFY(w.wordStore().isEmpty());
        QCOMPARE(w.pointer(), engine::Pointer::Default);
        QVERIFY(w.Option1->isChecked());
    }

    void realDictionaryMissingFromTheFolder()
    {
        // The real database layer on a folder without dbWords.mdb.
        QTemporaryDir folder;
        FakeDialogs dialogs;
        FakeSettingsStore settings;
        FakeClipboard clipboard;
        FakeSpreadsheet spreadsheet;
        platform::MdbDatabase database;
        app::Form1 w({dialogs,
                      settings,
                      clipboard,
                      spreadsheet,
                      [&] {
                          return database.createConnection();
                      },
                      folder.path(),
                      {}});
        w.Form_Load();
        const QStringList reports = dialogs.errorReports();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports.at(0).contains(u"dbWords.mdb"_s));
        QVERIFY(reports.at(0).contains(u"at line 140"_s));
        QVERIFY(reports.at(1).contains(u"at line 146"_s));
    }

    void duplicateWordStopsTheLoadWithTheEarlierWordsKept()
    {
        Fixture f;
        f.words = {u"dog"_s, u"Cat"_s, u"cat"_s, u"bird"_s};
        app::Form1 &w = f.load();
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
        app::Form1 &w = f.load();
        QCOMPARE(w.styleSheet(), u"QPushButton { color: rgb(1, 2, 3); }"_s);
        QVERIFY(w.palette().color(QPalette::Window) != QColor(Qt::white));
        QCOMPARE(w.Frame1->palette().color(QPalette::Window), w.palette().color(QPalette::Window));
        QCOMPARE(f.dialogs.errorReports(), QStringList());
    }

    void withoutThemeTheWindowStaysWhite()
    {
        Fixture f;
        app::Form1 &w = f.load();
        QVERIFY(w.styleSheet().isEmpty());
        QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::white));
    }

    void binaryThemeFileIsReported()
    {
        Fixture f;
        f.writeFile(u"x/o.cjs"_s, QByteArray("\xff\xfe\x00\x01\x80", 5));
        f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(u"Form1.Form_Load at line 102"_s));
    }

    void pointerFollowsTheMouseButNeverReplacesTheHourglass()
    {
        Fixture f;
        f.writeFile(u"HAND-M.CUR"_s, cursorFile(5, 7));
        app::Form1 &w = f.load();
        QCOMPARE(f.dialogs.errorReports(), QStringList());
        moveOver(w.PushButton17);
        QCOMPARE(w.pointer(), engine::Pointer::Custom);
        QCOMPARE(w.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(w.cursor().hotSpot(), QPoint(5, 7));
        moveOver(w.ListView2->viewport());
        QCOMPARE(w.pointer(), engine::Pointer::Default);
        moveOver(w.PushButton4);
        QCOMPARE(w.pointer(), engine::Pointer::Custom);
        moveOver(w.Frame3);
        QCOMPARE(w.pointer(), engine::Pointer::Default);

        w.setPointer(engine::Pointer::Hourglass);
        moveOver(w.PushButton1);
        moveOver(w.Frame2);
        moveOver(w.ListView1->viewport());
        QCOMPARE(w.pointer(), engine::Pointer::Hourglass);
        QCOMPARE(w.cursor().shape(), Qt::WaitCursor);
    }

    void withoutHandCursorButtonsShowTheArrow()
    {
        Fixture f;
        app::Form1 &w = f.load();
        moveOver(w.PushButton8);
        QCOMPARE(w.pointer(), engine::Pointer::Custom);
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }

    void cursorFileThatIsNoPictureIsReported()
    {
        Fixture f;
        f.writeFile(u"HAND-M.CUR"_s, "this is not a cursor");
        app::Form1 &w = f.load();
        const QStringList reports = f.dialogs.errorReports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(u"Form1.Form_Load at line 108"_s));
        moveOver(w.PushButton8);
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    }

    void helpShowsBothCurrentCaptionsUnderTheApplicationTitle()
    {
        Fixture f;
        app::Form1 &w = f.load();
        w.Option1->setText(u"Renamed mnemonic"_s);
        w.PushButton8->click();
        QCOMPARE(f.dialogs.shown.size(), 1);
        const FakeDialogs::Shown &box = f.dialogs.shown.first();
        QVERIFY(box.text.startsWith(u"\"Renamed mnemonic\" - This feature"_s));
        QVERIFY(box.text.contains(u"\"Convert numbers into words\" - This feature"_s));
        QVERIFY(box.title.isEmpty());
        QCOMPARE(f.dialogs.applicationTitle(), u"Digitome"_s);
        QCOMPARE(box.icon, platform::Dialogs::Icon::None);
    }

    void sampleDataIsAppendedAtEveryClick()
    {
        Fixture f;
        app::Form1 &w = f.load();
        w.numberList().append(u"555"_s);
        w.PushButton7->click();
        w.PushButton7->click();
        QCOMPARE(
            texts(w.numberList()),
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
        app::Form1 &w = f.load();
        if (spelledOut)
            w.Option2->click();
        w.Check1->setChecked(withOriginal);
        w.PushButton7->click();
        w.PushButton17->click();
        QCOMPARE(texts(w.resultsList()), expected);
        for (int row = 0; row < w.resultsList().rows(); ++row)
            QVERIFY(w.resultsList().isChecked(row));
        QCOMPARE(w.PushButton17->text(), u"Start Converting"_s);
        QCOMPARE(w.pointer(), engine::Pointer::Default);
        QCoreApplication::processEvents();
        QCOMPARE(w.shownProgressText(), u"Progress Bar"_s);
        QCOMPARE(w.ProgressBar1->value(), 0);
    }

    void stopDuringARunKeepsTheLinesSoFar()
    {
        Fixture f;
        app::Form1 &w = loadLongRun(f, 1);
        w.PushButton17->click();
        const int linesOfOne = w.resultsList().rows();
        QVERIFY(linesOfOne > 1000);

        for (int i = 0; i < 10; ++i)
            w.numberList().append(u"22222222"_s);
        // Stop at the first moment the run lets events in.
        QTimer::singleShot(0, w.PushButton17, [&] {
            QCOMPARE(w.PushButton17->text(), u"Stop"_s);
            QCOMPARE(w.pointer(), engine::Pointer::Hourglass);
            w.PushButton17->click();
            QCOMPARE(w.PushButton17->text(), u"Stop"_s); // until the next checkpoint
        });
        w.PushButton17->click();
        QVERIFY(w.resultsList().rows() < linesOfOne);
        QCOMPARE(w.PushButton17->text(), u"Start Converting"_s);
        QCOMPARE(w.pointer(), engine::Pointer::Default);
    }

    // The window writes the caption from the count the run gives it, when it
    // draws.
    void progressCaptionCountsDuringARun()
    {
        Fixture f;
        app::Form1 &w = loadLongRun(f, 8);
        const QString prefix = u"Generating words.. please wait.. "_s;
        QList<qint64> counts;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, w.PushButton2, [&] {
            const QString caption = w.shownProgressText();
            if (!caption.startsWith(prefix))
                return;
            bool isNumber = false;
            counts.append(caption.sliced(prefix.size()).toLongLong(&isNumber));
            QVERIFY2(isNumber, qPrintable(caption));
        });
        watcher.start(0);
        w.PushButton17->click();
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
        app::Form1 &w = loadLongRun(f, 3);
        // Clear the results the first time the run lets events in with some
        // lines shown.
        int rowsAtClear = -1;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, w.PushButton2, [&] {
            if (rowsAtClear >= 0 || w.resultsList().rows() == 0)
                return;
            rowsAtClear = w.resultsList().rows();
            w.PushButton2->click();
            QCOMPARE(w.resultsList().rows(), 0);
        });
        watcher.start(0);
        w.PushButton17->click();
        QVERIFY(rowsAtClear > 0);
        QVERIFY(w.resultsList().rows() > 0);
        QCOMPARE(w.PushButton17->text(), u"Start Converting"_s);
    }

    void runStartedInsideAnotherCommandsYieldIsSeenWhole()
    {
        Fixture f;
        app::Form1 &w = f.load();
        w.Option2->click();
        w.numberList().append(u"12"_s);
        w.resultsList().append(u"old"_s, true);
        // The run starts at Copy's first yield and ends inside it; Copy then
        // reads the list as the run left it.
        QTimer::singleShot(0, w.PushButton17, [&] {
            w.PushButton17->click();
        });
        w.PushButton5->click();
        QCOMPARE(f.dialogs.errorReports(), QStringList());
        QCOMPARE(f.clipboard.content, u"one two\r\n"_s);
        QCOMPARE(f.dialogs.messages().size(), 1);
    }

    void listsShowTheirToolTipOverEveryRow()
    {
        Fixture f;
        app::Form1 &w = f.load();
        w.PushButton7->click();
        const QModelIndex row = w.numberList().index(0, 0);
        QVERIFY(!w.numberList().data(row, Qt::ToolTipRole).isValid());
        QCOMPARE(w.ListView1->toolTip(),
                 u"Double-click item to remove it. Move | line to right and out of window to "
                 "reveal full names."_s);
        QCOMPARE(w.ListView2->toolTip(), w.ListView1->toolTip());
    }

    void closingDuringARunEndsTheProcess()
    {
        Fixture f;
        f.words = {u"a"_s, u"b"_s, u"c"_s, u"ab"_s};
        app::Form1 &w = f.load();
        w.Option3->click();
        w.numberList().append(u"2222222222"_s);
        w.show();
        QTimer::singleShot(100, &w, [&] {
            w.close();
            // The fake ends nothing; stop the run so the test can go on.
            w.PushButton17->click();
        });
        w.PushButton17->click();
        QCOMPARE(f.processEnds, 1);
    }
};

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
