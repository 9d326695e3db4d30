// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

namespace platform {

// The memory the system can give the program now without swapping, in bytes
// (Linux: MemAvailable of /proc/meminfo); -1 when it cannot tell.
qint64 availableMemory();

} // namespace platform
