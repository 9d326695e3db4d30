// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

namespace output {

// Lets the window process its pending events once; the long output procedures
// call it at every step (the host decides how often it really does). An empty
// function does nothing.
using Yield = std::function<void()>;

} // namespace output
