// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/NumberText.h"

namespace engine::number {

Span normalisedSpan(QStringView text)
{
    // Blanks next to a dropped character at either end become outer blanks
    // once it is gone, so both are skipped together.
    const auto outer = [](QChar c) {
        return isDropped(c) || c == u' ';
    };
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && outer(text[first]))
        ++first;
    while (last > first && outer(text[last - 1]))
        --last;
    return {first, last};
}

QString normalised(QStringView text)
{
    const Span span = normalisedSpan(text);
    QString number;
    number.reserve(span.last - span.first);
    for (qsizetype i = span.first; i < span.last; ++i)
        if (!isDropped(text[i]))
            number.append(text[i]);
    return number;
}

qsizetype normalisedLength(QStringView text)
{
    const Span span = normalisedSpan(text);
    qsizetype length = 0;
    for (qsizetype i = span.first; i < span.last; ++i)
        length += isDropped(text[i]) ? 0 : 1;
    return length;
}

} // namespace engine::number
