#pragma once

#include "Yield.h"
#include "engine/Failure.h"

namespace lists {
class ItemListModel;
}

namespace platform {
class Clipboard;
}

namespace output {

// The clipboard text of the checked rows of `list`: one line per checked row,
// columns padded with spaces to their width (the longest text of the column
// over all rows; headers do not count) and separated by TABs; the last column
// gets neither padding nor TAB, each line loses its trailing spaces and ends
// with CR LF. Throws engine::Failure when a row vanishes while it yields.
QString ListviewClipboardText(const lists::ItemListModel &list, const Yield &yield = {});

// The clipboard refused every attempt to take the text.
class ClipboardRefused : public engine::Failure
{
public:
    using engine::Failure::Failure;
};

// Puts the clipboard text of `list` on the clipboard. An empty list leaves
// the clipboard alone. Throws engine::Failure when the list fails, and
// ClipboardRefused when the clipboard refuses the text.
void CopyListviewToClipboard(const lists::ItemListModel &list,
                             platform::Clipboard &clipboard,
                             const Yield &yield = {});

// Up to this many attempts, stopping at the first that succeeds.
inline constexpr int ClipboardAttempts = 1000;

// Empties the clipboard; a clipboard that refuses every attempt is left as it is.
void ClearClipboard(platform::Clipboard &clipboard);

// Puts plain text on the clipboard; false when every attempt failed.
bool SetClipboardText(platform::Clipboard &clipboard, const QString &text);

} // namespace output
