// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Failure.h"
#include "output/Yield.h"

namespace core {
class Clipboard;
class ItemListModel;
} // namespace core

namespace output {

// The clipboard text of the checked rows of `list`: one line per checked row,
// columns padded with spaces to their width (the longest text of the column
// over all rows; headers do not count) and separated by TABs; the last column
// gets neither padding nor TAB, each line loses its trailing spaces and ends
// with CR LF. Throws core::Failure when a row vanishes while it yields.
QString clipboardText(const core::ItemListModel &list, const Yield &yield = {});

// The clipboard refused every attempt to take the text.
class ClipboardRefused : public core::Failure
{
public:
    using core::Failure::Failure;
};

// Puts the clipboard text of `list` on the clipboard. An empty list leaves
// the clipboard alone. Throws core::Failure when the list fails, and
// ClipboardRefused when the clipboard refuses the text.
void copyListToClipboard(const core::ItemListModel &list,
                         core::Clipboard &clipboard,
                         const Yield &yield = {});

// Up to this many attempts, stopping at the first that succeeds.
inline constexpr int ClipboardAttempts = 1000;

// Empties the clipboard; a clipboard that refuses every attempt is left as it is.
void clearClipboard(core::Clipboard &clipboard);

// Puts plain text on the clipboard; false when every attempt failed.
bool setClipboardText(core::Clipboard &clipboard, const QString &text);

} // namespace output
