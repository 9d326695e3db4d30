// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/OutputCommands.h"

#include "core/CommandHost.h"
#include "core/Dialogs.h"
#include "core/ErrorReport.h"
#include "core/FileExists.h"
#include "core/ItemListModel.h"
#include "core/Spreadsheet.h"
#include "output/ClipboardCopy.h"
#include "output/SpreadsheetExport.h"
#include "output/TextFileWriter.h"

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace output {

using core::Pointer;

namespace {

enum class SaveStep {
    ChooseFile = 114,
    AskOverwrite = 122,
    ShowHourglass = 128,
    WriteFile = 130,
    ShowDefaultPointer = 132,
    SayDone = 134,
};

enum class CopyStep {
    ShowHourglass = 106,
    CopyText = 108,
    SayCopied = 110,
    ShowDefaultPointer = 112,
};

enum class ExportStep {
    ShowHourglass = 110,
    StartApplication = 112,
    AddWorkbook = 114,
    YieldBeforeHeader = 120,
    WriteFirstHeader = 124,
    WriteHeader = 128,
    FitColumn = 132,
    YieldBeforeRow = 140,
    ReadCheckMark = 142,
    YieldBeforeCell = 148,
    WriteFirstCell = 152,
    WriteCell = 156,
    FitAllColumns = 166,
    ShowWorkbook = 168,
    ShowDefaultPointer = 170,
    SayNotInstalled = 172,
};

} // namespace

void saveResultsAsText(core::CommandHost &window, core::Dialogs &dialogs)
{
    core::ErrorReport report(window, core::Procedure::SaveResultsAsText);

    QString path;
    report.run(SaveStep::ChooseFile, [&] {
        path = dialogs.saveFile(u"Save"_s, {u"Text Files (*.txt)"_s, u"All Files (*)"_s});
    });
    if (path.isEmpty())
        return;
    // A target that is never replaced is refused before any question.
    if (refuseSaveTarget(path, window))
        return;

    bool overwrite = true;
    if (core::fileExists(path))
        report.run(SaveStep::AskOverwrite, [&] {
            overwrite = dialogs.askYesNo(u"Are you sure you wish to overwrite "_s + path + u" ?"_s);
        });
    if (!overwrite)
        return;

    report.run(SaveStep::ShowHourglass, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    bool saved = false;
    report.run(SaveStep::WriteFile, [&] {
        saved = writeAlignedText(window.resultsList(), path, &window, window, [&] {
            window.yield();
        });
    });
    report.run(SaveStep::ShowDefaultPointer, [&] {
        window.setPointer(Pointer::Default);
    });
    // A failed save was reported already; it is not "Done.".
    if (saved)
        report.run(SaveStep::SayDone, [&] {
            dialogs.message(u"Done."_s);
        });
}

void copyResults(core::CommandHost &window, core::Dialogs &dialogs, core::Clipboard &clipboard)
{
    core::ErrorReport report(window, core::Procedure::CopyResults);
    report.run(CopyStep::ShowHourglass, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    // The message follows every outcome but one: a clipboard that refused the
    // text does not hold the results.
    bool refused = false;
    report.run(CopyStep::CopyText, [&] {
        try {
            copyListToClipboard(window.resultsList(), clipboard, [&] {
                window.yield();
            });
        } catch (const ClipboardRefused &) {
            refused = true;
            throw;
        }
    });
    if (!refused)
        report.run(CopyStep::SayCopied, [&] {
            dialogs.message(u"Results have been copied to the clipboard.\r\rClick a text "
                            u"area where you normally type and press Ctrl+V to paste "
                            u"the clipboard."_s);
        });
    report.run(CopyStep::ShowDefaultPointer, [&] {
        window.setPointer(Pointer::Default);
    });
}

namespace {

// The cells of one export: the list's headers in sheet row 1, list row r in
// sheet row r + 2, column c in sheet column c + 1.
class SheetFiller
{
public:
    SheetFiller(core::CommandHost &window,
                core::ErrorReport &report,
                core::SpreadsheetApplication &application,
                const core::ItemListModel &list)
        : m_window(window)
        , m_report(report)
        , m_application(application)
        , m_list(list)
    {}

    void writeHeaders()
    {
        const int columns = m_list.columns();
        for (int c = 0; c < columns; ++c) {
            yield(ExportStep::YieldBeforeHeader);
            m_report.run(c == 0 ? ExportStep::WriteFirstHeader : ExportStep::WriteHeader, [&] {
                m_application.setCell(1, c + 1, m_list.headerText(c));
            });
            m_report.run(ExportStep::FitColumn, [&] {
                m_application.autofitColumn(c + 1);
            });
        }
    }

    // An unchecked row leaves its sheet row empty. The first failure here (a
    // row that vanished, a sheet that is full) is reported once and ends the
    // rows; what was written is shown.
    void writeRows()
    {
        const int rows = m_list.rows();
        for (int r = 0; r < rows; ++r) {
            yield(ExportStep::YieldBeforeRow);
            bool checked = false;
            if (!m_report.run(ExportStep::ReadCheckMark, [&] {
                    checked = m_list.isChecked(r);
                }))
                return;
            if (checked && !writeRow(r, r + 2))
                return;
        }
    }

private:
    bool writeRow(int row, int sheetRow)
    {
        const int columns = m_list.columns();
        for (int c = 0; c < columns; ++c) {
            yield(ExportStep::YieldBeforeCell);
            const bool written =
                c == 0
                    ? m_report.run(ExportStep::WriteFirstCell,
                                   [&] {
                                       m_application.setCell(sheetRow, 1, m_list.text(row, 0));
                                   })
                    : m_report.run(ExportStep::WriteCell, [&] {
                          m_application.setCell(sheetRow, c + 1, m_list.text(row, c).remove(u'='));
                      });
            if (!written)
                return false;
        }
        return true;
    }

    void yield(ExportStep step)
    {
        m_report.run(step, [&] {
            m_window.yield();
        });
    }

    core::CommandHost &m_window;
    core::ErrorReport &m_report;
    core::SpreadsheetApplication &m_application;
    const core::ItemListModel &m_list;
};

} // namespace

void exportResultsToSpreadsheet(core::CommandHost &window,
                                core::Dialogs &dialogs,
                                core::Spreadsheet &spreadsheet)
{
    core::ErrorReport report(window, core::Procedure::ExportResultsToSpreadsheet);
    if (!spreadsheetInstalled(dialogs, spreadsheet)) {
        report.run(ExportStep::SayNotInstalled, [&] {
            dialogs.message(NotInstalledForFeature.toString());
        });
        return;
    }
    const core::ItemListModel &list = window.resultsList();
    if (list.isEmpty())
        return;

    report.run(ExportStep::ShowHourglass, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    // Without an application or a workbook there is nothing to write to: one
    // report, and the export ends.
    std::unique_ptr<core::SpreadsheetApplication> application;
    const bool started = report.run(ExportStep::StartApplication, [&] {
        application = spreadsheet.create();
    }) && report.run(ExportStep::AddWorkbook, [&] {
        if (!application)
            throw core::Failure(u"The spreadsheet application could not be started."_s);
        application->addWorkbook();
    });
    if (started) {
        SheetFiller filler(window, report, *application, list);
        filler.writeHeaders();
        filler.writeRows();
        report.run(ExportStep::FitAllColumns, [&] {
            application->autofitAllColumns();
        });
        report.run(ExportStep::ShowWorkbook, [&] {
            application->makeVisible();
        });
    }
    report.run(ExportStep::ShowDefaultPointer, [&] {
        window.setPointer(Pointer::Default);
    });
}

} // namespace output
