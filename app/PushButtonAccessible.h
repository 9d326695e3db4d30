// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace app {

// Makes a screen reader's press of a push button click it at once, as soon
// as the window takes events after the reader's call returns. Qt's own
// interface animates the press for 100 ms first, so that Stop, pressed while
// a run goes on, would stop it only after that. Buttons with a menu or that
// toggle keep Qt's interface. Installing it again changes nothing.
void installPushButtonAccessible();

} // namespace app
