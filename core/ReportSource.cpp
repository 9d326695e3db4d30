// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/ReportSource.h"

#include <array>
#include <utility>

namespace core {

namespace {

// The source texts of the error reports, as users have always seen them.
constexpr std::array<std::pair<Procedure, QStringView>, 16> Sources{{
    {Procedure::StartUp, u"Form1.Form_Load"},
    {Procedure::ConversionRun, u"Form1.PushButton17_Click"},
    {Procedure::ReadingEnumeration, u"Form1.RecurseExtractWords"},
    {Procedure::LetterCount, u"Form1.CountLetter"},
    {Procedure::AddNumbers, u"Form1.PushButton6_Click"},
    {Procedure::LoadNumbersFromFile, u"Form1.PushButton3_Click"},
    {Procedure::ClearNumbers, u"Form1.PushButton1_Click"},
    {Procedure::ClearResults, u"Form1.PushButton2_Click"},
    {Procedure::RemoveResultsContaining, u"Form1.PushButton22_Click"},
    {Procedure::RemoveResultsNotContaining, u"Form1.PushButton23_Click"},
    {Procedure::SaveResultsAsText, u"Form1.PushButton4_Click"},
    {Procedure::CopyResults, u"Form1.PushButton5_Click"},
    {Procedure::ExportResultsToSpreadsheet, u"Form1.PushButton13_Click"},
    {Procedure::LoadSampleNumbers, u"Form1.PushButton7_Click"},
    {Procedure::ShowHelp, u"Form1.PushButton8_Click"},
    {Procedure::WriteAlignedText, u"Main.SaveListviewProperlySpaced"},
}};

} // namespace

QStringView reportSource(Procedure procedure)
{
    for (const auto &[entry, source] : Sources)
        if (entry == procedure)
            return source;
    return {};
}

} // namespace core
