// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QAccessibleInterface;
class QModelIndex;

namespace app {

class ItemListView;

// Makes screen readers see an ItemListView as a list with a table of rows:
// its children are the column headers, named by their captions, and the
// rows on screen (their text, whether they are ticked, selected and
// current); any row can be reached through the table by its position, and
// the table gives the number of rows. Interfaces of rows are made when a
// reader asks for them, a bounded number is kept, and nothing walks the
// list, so that a list of ten million rows answers as fast as a short one.
// Installed once, by the first view.
void installItemListAccessible();

// The interface readers see for the row cell at `index` of `view` (made on
// demand), for the events the view sends about it.
QAccessibleInterface *accessibleCellOf(ItemListView *view, const QModelIndex &index);

} // namespace app
