// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QString;

namespace core {

// The system clipboard, one attempt per call.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard; false when the attempt failed.
    virtual bool clear() = 0;
    // Puts plain text on the clipboard; true when reading it back gives the text.
    virtual bool setText(const QString &text) = 0;
};

} // namespace core
