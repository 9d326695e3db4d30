// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "output/Yield.h"

class QIODevice;
class QString;

namespace core {
class ItemListModel;
class ProgressDisplay;
class ReportSink;
} // namespace core

namespace output {

// The part of `path` after its last "/" or "\"; the whole path when it has
// neither, the empty text when it ends in one.
QString fileNameOfPath(const QString &path);

// Whether `path` names something a save never replaces: a named pipe, a
// device, a socket (also behind links) or a loop of links. Such a target is
// reported as a file that cannot be created, and true returned.
bool refuseSaveTarget(const QString &path, core::ReportSink &reports);

// Writes the checked rows of `list` as a column-aligned text file: a header
// line, then one line per checked row; every column padded with spaces to its
// width (the longest of its header and all its texts, checked rows or not)
// and followed by a TAB; lines end with CR LF; UTF-8 without byte-order mark.
//
// Failures are reported through `reports` as "Main.SaveListviewProperlySpaced"
// with the statement's number. A file that cannot be created or written is
// reported once and ends the procedure, leaving any existing file untouched.
// `progress` (may be null) shows "Writing file: <name>", every 1000th row's
// number, "Done." and finally 0 and "Progress Bar".
//
// Returns true when the whole file was written.
bool writeAlignedText(const core::ItemListModel &list,
                      const QString &path,
                      core::ProgressDisplay *progress,
                      core::ReportSink &reports,
                      const Yield &yield = {});

// The same onto a device, which is opened for writing unless it is open
// already and is left open; `path` only names the file in the progress text.
bool writeAlignedText(const core::ItemListModel &list,
                      QIODevice *device,
                      const QString &path,
                      core::ProgressDisplay *progress,
                      core::ReportSink &reports,
                      const Yield &yield = {});

} // namespace output
