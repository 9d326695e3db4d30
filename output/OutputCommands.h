// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace core {
class Clipboard;
class CommandHost;
class Dialogs;
class Spreadsheet;
} // namespace core

namespace output {

// "Save Results As Text File": asks for a path (and whether to overwrite an
// existing file), writes the checked results as a column-aligned text file
// and says "Done." when the file was written.
void saveResultsAsText(core::CommandHost &window, core::Dialogs &dialogs);

// "Copy Results To Clipboard": puts the checked results on the clipboard and
// tells the user how to paste them.
void copyResults(core::CommandHost &window, core::Dialogs &dialogs, core::Clipboard &clipboard);

// "Save Results As Excel File": hands the results to the spreadsheet
// application in a new workbook that the user saves or discards there.
void exportResultsToSpreadsheet(core::CommandHost &window,
                                core::Dialogs &dialogs,
                                core::Spreadsheet &spreadsheet);

} // namespace output
