// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Database.h"
#include "engine/WordStore.h"

#include <functional>
#include <memory>

namespace app {

// The dictionary the window converts with: the connection to the dictionary
// file, which start-up opens, and the words read from it. Both live as long
// as the window.
struct Dictionary
{
    // Creates the (closed) connection.
    std::function<std::unique_ptr<core::Connection>()> createConnection;
    std::unique_ptr<core::Connection> connection;
    engine::WordStore words;
};

} // namespace app
