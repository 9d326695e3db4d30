// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The built program started with no display at all: the command line is
// answered before the window's QApplication, which would need one, and Qt's
// own window options reach that QApplication.
class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("arguments"); // separated by blanks
        QTest::addColumn<int>("exitCode");      // -1: the window opened and the program runs on
        QTest::addColumn<QString>("output");    // patterns of all of standard output / error
        QTest::addColumn<QString>("error");

        const QString version = QRegularExpression::escape(u"Digitome " DIGITOME_VERSION "\n"_s);
        QTest::newRow("--version") << u"--version"_s << 0 << version << QString();
        QTest::newRow("-v") << u"-v"_s << 0 << version << QString();
        QTest::newRow("--help") << u"--help"_s << 0
                                << u"Usage: .*digitome \\[options\\]\n.*-v, --version.*"_s
                                << QString();
        QTest::newRow("Qt's window options and their values pass")
            << u"-platform offscreen -style Fusion -reverse -qwindowgeometry 640x480 "
               "-stylesheet=none.qss --version"_s
            << 0 << version << QString();
        QTest::newRow("unknown option")
            << u"--bogus"_s << 1 << QString() << u"Digitome: Unknown option 'bogus'\\.\n"_s;
        QTest::newRow("an argument") << u"434-3453"_s << 1 << QString()
                                     << u"Digitome: Unexpected argument '434-3453'\\.\n"_s;
        QTest::newRow("a window option without its value")
            << u"-platform"_s << 1 << QString()
            << u"Digitome: Missing value after '-platform'\\.\n"_s;
        QTest::newRow("-platform reaches the window")
            << u"-platform offscreen"_s << -1 << QString() << QString();
    }
    void answersWithoutDisplay()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, error);

        const QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        environment.insert(u"XDG_CONFIG_HOME"_s, home.path());
        environment.insert(u"XDG_DATA_HOME"_s, home.path());
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(DIGITOME_PROGRAM), arguments.split(u' '));
        QVERIFY(program.waitForStarted());

        if (exitCode < 0) {
            const bool ended = program.waitForFinished(2000);
            const QByteArray log = program.readAllStandardError();
            program.kill();
            program.waitForFinished();
            QVERIFY2(!ended, log.constData());
            return;
        }
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const auto matches = [](const QString &pattern, const QByteArray &text) {
            const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern),
                                           QRegularExpression::DotMatchesEverythingOption);
            return whole.match(QString::fromUtf8(text)).hasMatch();
        };
        const QByteArray out = program.readAllStandardOutput();
        const QByteArray err = program.readAllStandardError();
        QVERIFY2(matches(output, out), out.constData());
        QVERIFY2(matches(error, err), err.constData());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
