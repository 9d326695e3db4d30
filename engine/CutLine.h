// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <cstring>

// Writing a cut as its result line.
namespace engine::cutline {

// Copies a few units. Fixed-size copies compile to plain moves; a library
// memmove for every piece of every line costs more than the rest of the line.
inline void copyUnits(char16_t *to, const char16_t *from, qsizetype count)
{
    for (; count >= 4; count -= 4, to += 4, from += 4)
        std::memcpy(to, from, 4 * sizeof(char16_t));
    for (; count > 0; --count)
        *to++ = *from++;
}

// Sets `line` to the units from `first` to `last`. With `trimDashes` (the
// number holds a blank), a "-" at either end is dropped: a blank at the end
// of an entry is not shown.
inline void setLine(QString &line, const char16_t *first, const char16_t *last, bool trimDashes)
{
    if (trimDashes) {
        while (first != last && *first == u'-')
            ++first;
        while (last != first && *(last - 1) == u'-')
            --last;
    }
    if (line.size() != last - first)
        line.resize(last - first);
    copyUnits(reinterpret_cast<char16_t *>(line.data()), first, last - first);
}

} // namespace engine::cutline
