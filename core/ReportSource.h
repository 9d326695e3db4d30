// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>

namespace core {

// The procedures that report their own failures. A report names its
// procedure by the source text that users quote back to support, so these
// texts never change (see reportSource()).
enum class Procedure {
    StartUp,
    ConversionRun,
    ReadingEnumeration,
    LetterCount,
    AddNumbers,
    LoadNumbersFromFile,
    ClearNumbers,
    ClearResults,
    RemoveResultsContaining,
    RemoveResultsNotContaining,
    SaveResultsAsText,
    CopyResults,
    ExportResultsToSpreadsheet,
    LoadSampleNumbers,
    ShowHelp,
    WriteAlignedText,
};

// The source text a report of `procedure` names, e.g. "Form1.PushButton17_Click".
QStringView reportSource(Procedure procedure);

} // namespace core
