// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Clipboard.h"

#include <QString>

// A clipboard that refuses the first `refusals` attempts of each kind.
class FakeClipboard : public core::Clipboard
{
public:
    QString content;
    int refuseClears = 0;
    int refuseSets = 0;
    int clearAttempts = 0;
    int setAttempts = 0;

    bool clear() override
    {
        ++clearAttempts;
        if (refuseClears > 0) {
            --refuseClears;
            return false;
        }
        content.clear();
        return true;
    }
    bool setText(const QString &text) override
    {
        ++setAttempts;
        if (refuseSets > 0) {
            --refuseSets;
            return false;
        }
        content = text;
        return true;
    }
};
