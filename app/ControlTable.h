// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QString>

#include <optional>

namespace app {

// The main window's controls. Each one's objectName, caption and place stand
// in the control table (ControlTable.cpp), which is where the names that
// users, settings files and error reports see are kept.
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

    QRect geometry() const;
};

// The main window's objectName.
inline constexpr QStringView MainWindowObjectName = u"Form1";

const ControlEntry &entryOf(Control control);
QString objectNameOf(Control control);
QString captionOf(Control control);

} // namespace app
