// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "ReportSource.h"

#include <QRect>
#include <QString>

#include <optional>
#include <span>

namespace app {

// The main window's controls. Each one's objectName, caption, place and the
// procedure its click runs stand in the control table (ControlTable.cpp),
// which is where the names that users, settings files and error reports see
// are kept.
enum class Control {
    HelpButton,
    NumberList,
    AddNumbersButton,
    LoadFileButton,
    ClearNumbersButton,
    SampleButton,
    ConvertFrame,
    MnemonicOption,
    MnemonicFrame,
    WordsOnlyOption,
    WordsAndNumbersOption,
    SpellOutOption,
    IncludeFrame,
    IncludeOriginalCheck,
    StartButton,
    ResultsList,
    SaveTextButton,
    SpreadsheetButton,
    CopyButton,
    ClearResultsButton,
    RemoveContainingButton,
    RemoveNotContainingButton,
    ProgressBar,
};

struct ControlEntry
{
    Control control;
    // The control it lies in; none for the window itself.
    std::optional<Control> container;
    const char16_t *objectName;
    const char16_t *caption;
    // Left, top, width and height in twips (15 twips are one pixel at 96 DPI).
    int left, top, width, height;
    // What a click runs, for the controls whose procedure has an error report.
    std::optional<core::Procedure> procedure;

    QRect geometry() const;
};

// The main window's objectName.
inline constexpr QStringView MainWindowObjectName = u"Form1";

// Every control, in the order the window creates them.
std::span<const ControlEntry> controlTable();
const ControlEntry &entryOf(Control control);
QString objectNameOf(Control control);
QString captionOf(Control control);

} // namespace app
