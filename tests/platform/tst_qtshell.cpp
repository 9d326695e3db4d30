// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// The real settings store and dialogs: QSettings on disk, QMessageBox and
// QInputDialog driven the way a user would.
#include "QtDialogs.h"
#include "QtSettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
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
        QFile::remove(settingsFile());
    }
    void cleanupTestCase() { QFile::remove(settingsFile()); }

    void settingsAreWrittenToTheUsersFileAtOnce()
    {
        platform::QtSettingsStore store;
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
    }
};

QTEST_MAIN(QtShellTest)
#include "tst_qtshell.moc"
