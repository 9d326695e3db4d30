// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The real settings store and dialogs: QSettings on disk, QMessageBox and
// QInputDialog driven the way a user would.
#include "platform/QtDialogs.h"
#include "platform/QtSettingsStore.h"
#include "platform/SystemMemory.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TestHelpers.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

// Acts on the next modal dialog once it is up.
void whenModal(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(10);
}

QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + u"/Tarrowen.ini"_s;
}

} // namespace

class QtShellTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // As on a new account: the config folder does not exist yet.
        QDir(QFileInfo(settingsFile()).path()).removeRecursively();
    }
    void cleanupTestCase() { QFile::remove(settingsFile()); }

    void settingsAreWrittenToTheUsersFileAtOnce()
    {
        platform::QtSettingsStore store;
        QVERIFY(!QFileInfo::exists(QFileInfo(settingsFile()).path()));
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"1"_s), u"1"_s);
        store.write(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"False"_s);
        store.write(u"Tarrowen"_s, u"Digitome"_s, u"Check1"_s, u"1"_s);
        // Durable without any shutdown: the file already holds both.
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ini = file.readAll();
        QVERIFY2(ini.contains("[Digitome]"), ini.constData());
        QVERIFY(ini.contains("Option1=False"));
        QVERIFY(ini.contains("Check1=1"));
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"1"_s), u"False"_s);
        QCOMPARE(QFileInfo(QFileInfo(settingsFile()).path()).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                     | QFile::WriteUser | QFile::ExeUser);
    }

    // A config folder that cannot be made (a file stands where it belongs):
    // the write is given up silently and nothing is left behind.
    void settingsWhoseFolderCannotBeMadeAreDropped()
    {
        const QString folder = QFileInfo(settingsFile()).path();
        QDir(folder).removeRecursively();
        testsupport::writeFile(folder, "not a folder");
        platform::QtSettingsStore store;
        store.write(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"False"_s);
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"1"_s), u"1"_s);
        QVERIFY(QFileInfo(folder).isFile());
        QFile::remove(folder);
        QDir().mkpath(folder); // for the tests that follow
    }

    void textsWrittenByHandComeBackAsTheyStand()
    {
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Digitome]\nOption3=yes, please\nOption4=True\n\x01\x02garbage\n");
        file.close();
        platform::QtSettingsStore store;
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option3"_s, u"0"_s), u"yes, please"_s);
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option4"_s, u"1"_s), u"True"_s);
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option2"_s, u"0"_s), u"0"_s);
    }

    // A settings file that is no regular file, or above 1 MB, reads as
    // defaults and is never replaced; a write whose lock cannot be taken is
    // given up. None of them blocks.
    void unusableSettingsFilesAreLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        testsupport::addSpecialFileRows();
        QTest::newRow("link loop") << u"link loop"_s;
        QTest::newRow("above 1 MB") << u"large"_s;
        QTest::newRow("lock is a folder") << u"lock:folder"_s;
        QTest::newRow("lock is a fifo") << u"lock:fifo"_s;
        QTest::newRow("lock held by a live process") << u"lock:held"_s;
    }
    void unusableSettingsFilesAreLeftAlone()
    {
        QFETCH(QString, kind);
        const QString path = settingsFile();
        const QString lockPath = path + u".lock"_s;
        QFile::remove(path);
        QByteArray large = "[Digitome]\nOption1=False\n"_ba;
        large += QByteArray(1 << 20, '#');
        QLockFile holder(lockPath);
        if (kind == u"large")
            testsupport::writeFile(path, large);
        else if (kind == u"lock:held")
            QVERIFY(holder.lock());
        else if (kind.startsWith(u"lock:"))
            testsupport::makeSpecialFile(kind.sliced(5), lockPath);
        else
            testsupport::makeSpecialFile(kind, path);
        platform::QtSettingsStore store;
        if (!kind.startsWith(u"lock:"))
            QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"1"_s), u"1"_s);
        store.write(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"True"_s);

        if (kind == u"large") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), large);
        } else if (kind.startsWith(u"lock:")) {
            QVERIFY(!QFile::exists(path));
        } else {
            QVERIFY(testsupport::isStillSpecial(kind, path));
        }
        holder.unlock();
        QDir(path).removeRecursively();
        QDir(lockPath).removeRecursively();
        QFile::remove(path);
        QFile::remove(path + u".fifo"_s);
        QFile::remove(lockPath);
    }

    // Through a link the file it names is written and the link stays.
    void settingsFileBehindALinkStaysALink()
    {
        const QString path = settingsFile();
        QFile::remove(path);
        const QString target =
            testsupport::writeFile(path + u".target"_s, "[Digitome]\nCheck1=1\n");
        QVERIFY(QFile::link(target, path));
        platform::QtSettingsStore store;
        store.write(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"False"_s);
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Check1"_s, u"0"_s), u"1"_s);
        QCOMPARE(store.read(u"Tarrowen"_s, u"Digitome"_s, u"Option1"_s, u"1"_s), u"False"_s);
        QFile::remove(path);
        QFile::remove(target);
    }

    void messageShowsLineBreaksAndTheApplicationTitle()
    {
        platform::QtDialogs qtDialogs;
        core::Dialogs &dialogs = qtDialogs;
        dialogs.setApplicationTitle(u"Digitome"_s);
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModal([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.showErrorReport(u"Broken\r\nin Numerill2021/08/31.X at line 1\r\rPlease"_s);
        QCOMPARE(title, u"Application Error"_s);
        QCOMPARE(text, u"Broken\nin Numerill2021/08/31.X at line 1\n\nPlease"_s);
        QCOMPARE(icon, QMessageBox::Warning);

        whenModal([&](QWidget *dialog) {
            title = dialog->windowTitle();
            qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::Ok)->click();
        });
        dialogs.message(u"Done."_s);
        QCOMPARE(title, u"Digitome"_s);
    }

    void yesNoQuestionAnswers()
    {
        platform::QtDialogs qtDialogs;
        core::Dialogs &dialogs = qtDialogs;
        for (const bool yes : {true, false}) {
            whenModal([yes](QWidget *dialog) {
                auto *box = qobject_cast<QMessageBox *>(dialog);
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            QCOMPARE(dialogs.askYesNo(u"Are you sure?"_s), yes);
        }
    }

    void promptGivesTheTypedTextAndEmptyWhenCancelled()
    {
        platform::QtDialogs qtDialogs;
        core::Dialogs &dialogs = qtDialogs;
        whenModal([](QWidget *dialog) {
            auto *input = qobject_cast<QInputDialog *>(dialog);
            input->setTextValue(u"434-3453, 555"_s);
            input->accept();
        });
        QCOMPARE(dialogs.prompt(u"Enter phone numbers or numbers (use commas): "_s),
                 u"434-3453, 555"_s);
        whenModal([](QWidget *dialog) {
            auto *input = qobject_cast<QInputDialog *>(dialog);
            input->setTextValue(u"typed, then cancelled"_s);
            input->reject();
        });
        QCOMPARE(dialogs.prompt(u"Remove results containing this text: "_s), QString());

        // A pasted list of any length comes back whole.
        const QString pasted = QString(1'500'000, u'5') + u"\n6"_s;
        whenModal([&pasted](QWidget *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>();
            edit->setText(pasted);
            qobject_cast<QInputDialog *>(dialog)->accept();
        });
        QCOMPARE(dialogs.prompt(u"Enter phone numbers or numbers (use commas): "_s), pasted);

        // Pasted by the keyboard, a short, a long and a very long text (held
        // outside the edit) each replace the selection, the cursor after them.
        for (const QString &clip : {u"7,8"_s, QString(100'000, u'7'), QString(1'000'000, u'7')}) {
            QGuiApplication::clipboard()->setText(clip);
            whenModal([](QWidget *dialog) {
                auto *edit = dialog->findChild<QLineEdit *>();
                edit->setText(u"1234"_s);
                edit->setSelection(1, 2);
                QTest::keySequence(edit, QKeySequence::Paste);
                QTest::keyClick(edit, Qt::Key_X, Qt::NoModifier);
                QVERIFY(edit->text().size() < 1'000'000);
                qobject_cast<QInputDialog *>(dialog)->accept();
            });
            QCOMPARE(dialogs.prompt(u"Enter phone numbers or numbers (use commas): "_s),
                     u"1"_s + clip + u"x4"_s);
        }
        // Backspace drops a held text whole; typing starts anew.
        whenModal([](QWidget *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>();
            QTest::keySequence(edit, QKeySequence::Paste);
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, u"55"_s);
            qobject_cast<QInputDialog *>(dialog)->accept();
        });
        QCOMPARE(dialogs.prompt(u"Enter phone numbers or numbers (use commas): "_s), u"55"_s);
    }

    // Before the window shows, a box is centred on the screen (it has no
    // parent); a web address in a box's text is never broken between lines,
    // wherever the text puts it.
    void messageBoxPlacementAndUnbrokenAddresses()
    {
        QWidget window; // never shown, as during start-up
        platform::QtDialogs qtDialogs(&window);
        core::Dialogs &dialogs = qtDialogs;
        const QString address = u"https://www.tarrowen.example/contact/"_s;
        for (int words = 0; words < 40; words += 3) {
            QWidget *parent = &window;
            bool broken = true;
            whenModal([&](QWidget *dialog) {
                parent = dialog->parentWidget();
                auto *label = dialog->findChild<QLabel *>(u"qt_msgbox_label"_s);
                // Lay the label's text out as the label does, and find the
                // lines that hold the address's first and last characters.
                QTextDocument document;
                document.setDefaultFont(label->font());
                document.setDocumentMargin(0);
                if (label->textFormat() == Qt::PlainText)
                    document.setPlainText(label->text());
                else
                    document.setHtml(label->text());
                document.setTextWidth(label->contentsRect().width());
                (void)document.size(); // lays the text out
                const QString plain = document.toPlainText();
                const qsizetype first = plain.indexOf(address);
                const auto lineOf = [&document](qsizetype position) {
                    const QTextBlock block = document.findBlock(int(position));
                    return block.layout()
                        ->lineForTextPosition(int(position - block.position()))
                        .lineNumber();
                };
                broken = first < 0 || lineOf(first) != lineOf(first + address.size() - 1);
                qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::Ok)->click();
            });
            dialogs.message(QStringList(words, u"wordy"_s).join(u' ') + u" Questions? Contact "_s
                            + address + u" or write."_s);
            QCOMPARE(parent, nullptr);
            QVERIFY2(!broken, qPrintable(u"after %1 words"_s.arg(words)));
        }
    }

    // /proc/meminfo reports no size: it is read all the same.
    void availableMemoryIsKnown() { QVERIFY(platform::availableMemory() > 0); }
};

QTEST_MAIN(QtShellTest)
#include "tst_qtshell.moc"
