// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

// How the conversions read a number from the number list.
namespace engine::number {

// The characters a number drops wherever they stand: "-", "(" and ")".
inline bool isDropped(QChar c)
{
    return c == u'-' || c == u'(' || c == u')';
}

// The part of `text` that its normalised form comes from: the characters in
// [first, last) that are not dropped, in order.
struct Span
{
    qsizetype first;
    qsizetype last;
};
Span normalisedSpan(QStringView text);

// The number as the conversions read it: the dropped characters removed,
// then the outer blanks.
QString normalised(QStringView text);

// The length normalised() gives `text`, counted without building it.
qsizetype normalisedLength(QStringView text);

} // namespace engine::number
