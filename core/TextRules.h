// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The rules for text that every list and command shares.
namespace core::text {

// `text` without its leading and trailing blanks. A blank is the space
// character only: tabs and other white space stay.
QStringView trimBlanks(QStringView text);

// Drops the blanks at both ends of `text` in place.
void trimBlanksInPlace(QString &text);

// Replaces, in place, every surrogate that is not half of a pair with U+FFFD,
// as UTF-8 decoders do: UTF-8 cannot hold a lone one, and upper-casing treats
// it differently by what stands before it.
void replaceLoneSurrogates(QString &text);

// Whether `text` holds a surrogate that is not half of a pair.
bool hasLoneSurrogate(QStringView text);

// The UTF-8 form of `text`, each lone surrogate written as U+FFFD: its size
// in bytes, and the bytes written to `to` (which has room for utf8Size()).
// Returns the end of what was written.
qsizetype utf8Size(QStringView text);
char *writeUtf8(QStringView text, char *to);

// The leading part of UTF-8 `bytes` that ends between characters: a
// sequence cut off at the end is left for the next piece.
qsizetype wholeUtf8Length(QByteArrayView bytes);

} // namespace core::text
