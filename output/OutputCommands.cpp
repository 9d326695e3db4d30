#include "OutputCommands.h"

#include "ClipboardCopy.h"
#include "SaveListview.h"
#include "SpreadsheetExport.h"
#include "engine/ErrorReport.h"
#include "lists/CommandWindow.h"
#include "lists/FileExists.h"
#include "lists/ItemListModel.h"
#include "platform/Dialogs.h"
#include "platform/Spreadsheet.h"

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace output {

using engine::Pointer;

void PushButton4_Click(lists::CommandWindow &window)
{
    engine::ErrorReport report(window.dialogs(), u"Form1.PushButton4_Click"_s);
    platform::Dialogs &dialogs = window.dialogs();

    QString path;
    report.run(114, [&] {
        path = dialogs.saveFile(u"Save"_s, {u"Text Files (*.txt)"_s, u"All Files (*)"_s});
    });
    if (path.isEmpty())
        return;

    bool overwrite = true;
    if (lists::FileExists(path))
        report.run(122, [&] {
            overwrite = dialogs.askYesNo(u"Are you sure you wish to overwrite "_s + path + u" ?"_s);
        });
    if (!overwrite)
        return;

    report.run(128, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    bool saved = false;
    report.run(130, [&] {
        saved = SaveListviewProperlySpaced(
            window.resultsList(), path, &window.progress(), dialogs, [&] {
                window.yield();
            });
    });
    report.run(132, [&] {
        window.setPointer(Pointer::Default);
    });
    // A failed save was reported already; it is not "Done.".
    if (saved)
        report.run(134, [&] {
            dialogs.message(u"Done."_s);
        });
}

void PushButton5_Click(lists::CommandWindow &window)
{
    engine::ErrorReport report(window.dialogs(), u"Form1.PushButton5_Click"_s);
    report.run(106, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    // The message follows every outcome but one: a clipboard that refused the
    // text does not hold the results.
    bool refused = false;
    report.run(108, [&] {
        try {
            CopyListviewToClipboard(window.resultsList(), window.clipboard(), [&] {
                window.yield();
            });
        } catch (const ClipboardRefused &) {
            refused = true;
            throw;
        }
    });
    if (!refused)
        report.run(110, [&] {
            window.dialogs().message(u"Results have been copied to the clipboard.\r\rClick a text "
                                     u"area where you normally type and press Ctrl+V to paste "
                                     u"the clipboard."_s);
        });
    report.run(112, [&] {
        window.setPointer(Pointer::Default);
    });
}

void PushButton13_Click(lists::CommandWindow &window)
{
    engine::ErrorReport report(window.dialogs(), u"Form1.PushButton13_Click"_s);
    if (!SaveResultsAsExcelFileIsExcelInstalled(window)) {
        report.run(172, [&] {
            window.dialogs().message(NotInstalledForFeature.toString());
        });
        return;
    }
    const lists::ItemListModel &list = window.resultsList();
    if (list.isEmpty())
        return;

    const auto yield = [&](int statement) {
        report.run(statement, [&] {
            window.yield();
        });
    };
    const auto restorePointer = [&] {
        report.run(170, [&] {
            window.setPointer(Pointer::Default);
        });
    };

    report.run(110, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    // Without an application or a workbook there is nothing to write to: one
    // report, and the export ends.
    std::unique_ptr<platform::SpreadsheetApplication> application;
    if (!report.run(112,
                    [&] {
                        application = window.spreadsheet().create();
                    })
        || !report.run(114, [&] {
               if (!application)
                   throw engine::Failure(u"The spreadsheet application could not be started."_s);
               application->addWorkbook();
           })) {
        restorePointer();
        return;
    }

    int sheetColumn = 1;
    const int columns = list.columns();
    for (int c = 0; c < columns; ++c) {
        yield(120);
        report.run(c == 0 ? 124 : 128, [&] {
            application->setCell(1, sheetColumn, list.headerText(c));
        });
        ++sheetColumn;
        report.run(132, [&] {
            application->autofitColumn(c + 1);
        });
    }

    // List row r goes to sheet row r + 1; an unchecked row leaves its sheet
    // row empty. The first failure here (a row that vanished, a sheet that is
    // full) is reported once and ends the rows; what was written is shown.
    int sheetRow = 2;
    const int rows = list.rows();
    for (int r = 0; r < rows; ++r) {
        yield(140);
        bool checked = false;
        if (!report.run(142, [&] {
                checked = list.isChecked(r);
            }))
            break;
        if (checked) {
            sheetColumn = 1;
            bool written = true;
            for (int c = 0; c < columns && written; ++c) {
                yield(148);
                if (c == 0)
                    written = report.run(152, [&] {
                        application->setCell(sheetRow, sheetColumn, list.text(r, 0));
                    });
                else
                    written = report.run(156, [&] {
                        application->setCell(sheetRow, sheetColumn, list.text(r, c).remove(u'='));
                    });
                ++sheetColumn;
            }
            if (!written)
                break;
        }
        ++sheetRow;
    }

    report.run(166, [&] {
        application->autofitAllColumns();
    });
    report.run(168, [&] {
        application->makeVisible();
    });
    restorePointer();
}

} // namespace output
