// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

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

} // namespace core::text
