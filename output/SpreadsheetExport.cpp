// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/SpreadsheetExport.h"

#include "core/Dialogs.h"
#include "core/Spreadsheet.h"

#include <exception>

namespace output {

bool spreadsheetInstalled(core::Dialogs &dialogs, core::Spreadsheet &spreadsheet)
{
    bool created = false;
    try {
        created = spreadsheet.isAvailable() && spreadsheet.create() != nullptr;
    } catch (const std::exception &) {
        created = false;
    }
    if (!created) {
        try {
            dialogs.message(NotInstalledForSoftware.toString());
        } catch (const std::exception &) {
            // nothing more to tell
        }
    }
    return created;
}

} // namespace output
