// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace app {

// Reads the program's command line under a QCoreApplication, before the
// window's QApplication exists, so that it needs no display. --help,
// --help-all and --version print their text and end the program with exit
// code 0; an unknown option or an argument prints a message on standard error
// and ends it with exit code 1 (both through QCommandLineParser::process, or
// by returning false). The options of Qt's own window classes (-platform,
// -style, -qwindowgeometry, ...) pass, left in place for the QApplication.
// Returns true when the window is to open.
bool readCommandLine(const QStringList &arguments);

} // namespace app
