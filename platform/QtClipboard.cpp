// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

bool QtClipboard::clear()
{
    if (!qGuiApp)
        return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    return clipboard->text().isEmpty();
}

bool QtClipboard::setText(const QString &text)
{
    if (!qGuiApp)
        return false;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    return clipboard->text() == text;
}

} // namespace platform
