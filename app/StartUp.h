// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QCursor>
#include <QString>

#include <optional>

class QWidget;

namespace core {
struct DataFolders;
class CommandHost;
class Dialogs;
} // namespace core

namespace app {

struct Dictionary;
struct WindowControls;
class OptionSettings;

// What start-up sets up: the window and its controls, the hand pointer, the
// dictionary and the options restored from the settings store.
struct StartUpTarget
{
    QWidget &widget;
    core::CommandHost &window;
    core::Dialogs &dialogs;
    const WindowControls &controls;
    std::optional<QCursor> &handCursor;
    Dictionary &dictionary;
    const OptionSettings &options;
};

// The start-up steps, run before the window shows. Each step reports its own
// failure and start-up goes on: a missing dictionary still opens the window.
// The dictionary and the optional files are taken from `folders`.
void startUp(const StartUpTarget &target, const core::DataFolders &folders);

} // namespace app
