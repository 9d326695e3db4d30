// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace core {
class CommandHost;
class Dialogs;
class ItemListModel;
} // namespace core

namespace lists {

// The main window's commands on its two lists. Each takes the window it acts
// on, reports its failures through the window and never throws.

// "Add Phone Number or Numbers": asks for numbers separated by commas or line
// breaks and appends each piece, spaces trimmed, to the number list.
void addNumbers(core::CommandHost &window, core::Dialogs &dialogs);

// "Load Phone Number From File": lets the user choose list files and appends
// their items to the number list, file after file.
void loadNumbersFromFile(core::CommandHost &window, core::Dialogs &dialogs);

// "Clear List": empties the number list unless a command is busy.
void clearNumbers(core::CommandHost &window);

// "Clear Results": empties the results list, also while a run goes on.
void clearResults(core::CommandHost &window);

// "Remove Results Containing X" / "Remove Results Not Cont. X": ask for a
// text and remove the results that contain it / do not contain it.
void removeResultsContaining(core::CommandHost &window, core::Dialogs &dialogs);
void removeResultsNotContaining(core::CommandHost &window, core::Dialogs &dialogs);

// A double-click on either list. `selectedRow` is the list's selected row
// (from 0), -1 when none. Removes the selected row unless the window is busy;
// true when a row was removed.
bool removeSelectedItem(core::CommandHost &window, core::ItemListModel &list, int selectedRow);

// A key pressed on either list: `key` is a Qt::Key, and only Qt::Key_Delete
// removes the selected row (whatever the modifiers), as a double-click does.
bool removeSelectedOnKey(core::CommandHost &window,
                         core::ItemListModel &list,
                         int key,
                         int selectedRow);

// The limit on the length of the open dialog's selection text.
inline constexpr int SelectionTextLimit = 30000;

} // namespace lists
