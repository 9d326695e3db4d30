// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QString;

namespace core {

// True when the path's modification time can be read (folders count too);
// never fails.
bool fileExists(const QString &path);

} // namespace core
