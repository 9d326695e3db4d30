// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>

namespace core {
class Dialogs;
class Spreadsheet;
} // namespace core

namespace output {

inline constexpr QStringView NotInstalledForSoftware =
    u"Excel is not installed on this computer. You need to have it installed to use this "
    u"software without error.";
inline constexpr QStringView NotInstalledForFeature =
    u"Excel is not installed on this computer. You need to have it installed to use this "
    u"feature.";

// Whether the spreadsheet application can be created: creates one
// and drops it at once. When it cannot, says so (NotInstalledForSoftware) and
// returns false. Never fails.
bool spreadsheetInstalled(core::Dialogs &dialogs, core::Spreadsheet &spreadsheet);

} // namespace output
