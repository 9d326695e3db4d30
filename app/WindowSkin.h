// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QString;
class QWidget;

namespace app {

// Applies the optional theme file (application folder/x/o.cjs, a Qt style
// sheet): the window and its option buttons, check boxes, frames and labels
// take the button-face colour, then the style sheet is applied to the window.
// A missing file leaves the window as designed. Throws core::Failure when
// the file exists but cannot be read.
void applyWindowSkin(QWidget &window, const QString &applicationFolder);

} // namespace app
