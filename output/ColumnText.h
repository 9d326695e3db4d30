// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace output::detail {

// Appends `text`, the spaces that fill it to `width` characters and a TAB. A
// text longer than its column (the list grew meanwhile) gets its TAB alone.
inline void appendPadded(QString &line, const QString &text, qsizetype width)
{
    line += text;
    if (width > text.size())
        line.resize(line.size() + (width - text.size()), QLatin1Char(' '));
    line += QLatin1Char('\t');
}

} // namespace output::detail
