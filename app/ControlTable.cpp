// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ControlTable.h"

#include <array>

namespace app {

namespace {

using C = Control;

// The controls users see, under the objectNames that their settings keys and
// error reports carry.
constexpr std::array<ControlEntry, 23> Table{{
    {C::HelpButton, {}, u"PushButton8", u"Help", 120, 120, 7800, 405},
    {C::NumberList, {}, u"ListView1", u"", 120, 630, 7800, 1815},
    {C::AddNumbersButton, {}, u"PushButton6", u"Add Phone Number or Numbers", 120, 2530, 3840, 405},
    {C::LoadFileButton, {}, u"PushButton3", u"Load Phone Number From File", 4080, 2530, 3840, 405},
    {C::ClearNumbersButton, {}, u"PushButton1", u"Clear List", 120, 3040, 3840, 405},
    {C::SampleButton, {}, u"PushButton7", u"Load Sample/Example Data", 4080, 3040, 3840, 405},
    {C::ConvertFrame, {}, u"Frame2", u"Convert Option", 120, 3500, 7800, 2205},
    {C::MnemonicOption,
     C::ConvertFrame,
     u"Option1",
     u"Convert numbers into mnemonic words",
     240,
     300,
     4095,
     255},
    {C::MnemonicFrame, C::ConvertFrame, u"Frame1", u"Mnemonic Option", 480, 660, 7080, 1005},
    {C::WordsOnlyOption,
     C::MnemonicFrame,
     u"Option4",
     u"Words only - Do not include items with numbers in results",
     240,
     300,
     5895,
     255},
    {C::WordsAndNumbersOption,
     C::MnemonicFrame,
     u"Option3",
     u"Words and numbers - Include items with numbers in results",
     240,
     650,
     6015,
     255},
    {C::SpellOutOption,
     C::ConvertFrame,
     u"Option2",
     u"Convert numbers into words",
     240,
     1785,
     3840,
     255},
    {C::IncludeFrame, {}, u"Frame3", u"Include Option", 120, 5745, 7800, 710},
    {C::IncludeOriginalCheck,
     C::IncludeFrame,
     u"Check1",
     u"Include original number next to results",
     240,
     300,
     7170,
     225},
    {C::StartButton, {}, u"PushButton17", u"Start Converting", 120, 6560, 7800, 405},
    {C::ResultsList, {}, u"ListView2", u"", 8040, 120, 7800, 4830},
    {C::SaveTextButton, {}, u"PushButton4", u"Save Results As Text File", 8040, 5030, 3840, 405},
    {C::SpreadsheetButton,
     {},
     u"PushButton13",
     u"Save Results As Excel File",
     12000,
     5030,
     3840,
     405},
    {C::CopyButton, {}, u"PushButton5", u"Copy Results To Clipboard", 8040, 5540, 3840, 405},
    {C::ClearResultsButton, {}, u"PushButton2", u"Clear Results", 12000, 5540, 3840, 405},
    {C::RemoveContainingButton,
     {},
     u"PushButton22",
     u"Remove Results Containing X",
     8040,
     6050,
     3840,
     405},
    {C::RemoveNotContainingButton,
     {},
     u"PushButton23",
     u"Remove Results Not Cont. X",
     12000,
     6050,
     3840,
     405},
    {C::ProgressBar, {}, u"ProgressBar1", u"Progress Bar", 8040, 6560, 7800, 405},
}};

} // namespace

QRect ControlEntry::geometry() const
{
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

const ControlEntry &entryOf(Control control)
{
    for (const ControlEntry &entry : Table)
        if (entry.control == control)
            return entry;
    Q_UNREACHABLE();
    return Table.front();
}

QString objectNameOf(Control control)
{
    return QString::fromUtf16(entryOf(control).objectName);
}

QString captionOf(Control control)
{
    return QString::fromUtf16(entryOf(control).caption);
}

} // namespace app
