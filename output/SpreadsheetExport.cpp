#include "SpreadsheetExport.h"

#include "lists/CommandWindow.h"
#include "platform/Dialogs.h"
#include "platform/Spreadsheet.h"

#include <exception>

namespace output {

bool SaveResultsAsExcelFileIsExcelInstalled(lists::CommandWindow &window)
{
    bool created = false;
    try {
        platform::Spreadsheet &spreadsheet = window.spreadsheet();
        created = spreadsheet.isAvailable() && spreadsheet.create() != nullptr;
    } catch (const std::exception &) {
        created = false;
    }
    if (!created) {
        try {
            window.dialogs().message(NotInstalledForSoftware.toString());
        } catch (const std::exception &) {
            // nothing more to tell
        }
    }
    return created;
}

} // namespace output
