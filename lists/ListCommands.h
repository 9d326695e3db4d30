#pragma once

namespace lists {

class CommandWindow;
class ItemListModel;

// The main window's commands on its two lists. Each takes the window it acts
// on, reports its failures through the window's dialogs and never throws.

// "Add Phone Number or Numbers": asks for numbers separated by commas and
// appends each piece, spaces trimmed, to the number list.
void PushButton6_Click(CommandWindow &window);

// "Load Phone Number From File": lets the user choose list files and appends
// their items to the number list, file after file.
void PushButton3_Click(CommandWindow &window);

// "Clear List": empties the number list unless a command is busy.
void PushButton1_Click(CommandWindow &window);

// "Clear Results": empties the results list, also while a run goes on.
void PushButton2_Click(CommandWindow &window);

// "Remove Results Containing X" / "Remove Results Not Cont. X": ask for a
// text and remove the results that contain it / do not contain it.
void PushButton22_Click(CommandWindow &window);
void PushButton23_Click(CommandWindow &window);

// A double-click or a key press on either list. `selectedRow` is the list's
// selected row (from 0), -1 when none; `key` is a Qt::Key, and only
// Qt::Key_Delete acts, whatever the modifiers. Removes the selected row
// unless the window is busy; true when a row was removed.
bool ListView_DblClick(CommandWindow &window, ItemListModel &list, int selectedRow);
bool ListView_KeyDown(CommandWindow &window, ItemListModel &list, int key, int selectedRow);

// The limit on the length of the open dialog's selection text.
inline constexpr int SelectionTextLimit = 30000;

} // namespace lists
