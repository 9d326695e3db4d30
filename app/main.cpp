// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "core/DataFolders.h"
#include "platform/MdbDatabase.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/QtSettingsStore.h"
#include "platform/SystemMemory.h"
#include "platform/XlsxSpreadsheet.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScreen>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Digitome"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tarrowen"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DIGITOME_VERSION));
    {
        // The window's QApplication needs a display; --help and --version do not.
        const QCoreApplication commandLine(argc, argv);
        if (!app::readCommandLine(QCoreApplication::arguments()))
            return EXIT_FAILURE;
    }

    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarrowen.Digitome"));

    platform::QtDialogs dialogs;
    platform::QtSettingsStore settings;
    platform::QtClipboard clipboard;
    platform::XlsxSpreadsheet spreadsheet;
    platform::MdbDatabase database;

    app::MainWindow window({
        dialogs,
        settings,
        clipboard,
        spreadsheet,
        [&database] {
            return database.createConnection();
        },
        core::DataFolders::ofThisProgram(),
        [] {
            std::_Exit(0);
        },
        &platform::availableMemory,
    });
    dialogs.setParent(&window);
    window.startUp();

    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return application.exec();
}
