// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/SpreadsheetExport.h"

#include "core/Dialogs.h"
#include "core/Spreadsheet.h"
#include "core/Window.h"

#include <exception>

namespace output {

bool spreadsheetInstalled(core::Window &window)
{
    bool created = false;
    try {
        core::Spreadsheet &spreadsheet = window.spreadsheet();
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
