// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace app {

// The product title shown as the window caption.
inline const QString ProductTitle = QStringLiteral("Digitome");

// Derives the application title (the title of message boxes and prompts that
// give none of their own) from the product title: drop the last word, then
// keep dropping words until at most 40 characters remain. A title without a
// blank is used whole.
QString applicationTitleOf(const QString &productTitle);

} // namespace app
