// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace core {

// The main window's mouse pointer. The hourglass doubles as the busy flag.
enum class Pointer {
    Default = 0,
    Hourglass = 11,
    Custom = 99,
};

} // namespace core
