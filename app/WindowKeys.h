// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QEvent;
class QObject;
class QWidget;

namespace app {

struct WindowControls;

// Standard keys for the common commands, which leave the captions as they
// are: F1 Help, Ctrl+O load numbers from a file, Ctrl+S save the results as
// text, Ctrl+Shift+C copy the results, Ctrl+Return start or stop.
void addCommandShortcuts(QWidget &window, const WindowControls &controls);

// Enter and Return press the focused push button, as Space does; true when
// `event` was such a key press on one.
bool clickOnEnter(QObject *watched, QEvent *event);

} // namespace app
