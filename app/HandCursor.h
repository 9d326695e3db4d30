// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QCursor>

class QString;

namespace app {

// Loads a Windows cursor file as a cursor with the file's hot spot. Throws
// core::Failure when the file is not a picture Qt can read.
QCursor loadHandCursor(const QString &path);

} // namespace app
