// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Clipboard.h"

namespace platform {

// The system clipboard through QClipboard. An attempt succeeds when reading
// the clipboard back gives what was asked for. Needs a QGuiApplication; without
// one every attempt fails.
class QtClipboard : public core::Clipboard
{
public:
    bool clear() override;
    bool setText(const QString &text) override;
};

} // namespace platform
