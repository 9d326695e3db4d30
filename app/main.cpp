#include "Form1.h"
#include "platform/MdbDatabase.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/QtSettingsStore.h"
#include "platform/XlsxSpreadsheet.h"

#include <QApplication>
#include <QScreen>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Digitome"));
    QApplication::setOrganizationName(QStringLiteral("Tarrowen"));

    platform::QtDialogs dialogs;
    platform::QtSettingsStore settings;
    platform::QtClipboard clipboard;
    platform::XlsxSpreadsheet spreadsheet;
    platform::MdbDatabase database;

    app::Form1 window({
        dialogs,
        settings,
        clipboard,
        spreadsheet,
        [&database] {
            return database.createConnection();
        },
        QCoreApplication::applicationDirPath(),
        [] {
            std::_Exit(0);
        },
    });
    dialogs.setParent(&window);
    window.Form_Load();

    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return application.exec();
}
