// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>

// Reading a text word list: the one place digitome-dictionary reads its input
// files, kept apart so that a shared reader can take its place.
namespace dictionary {

struct ListEntry
{
    QString word;
    int commonness = 0; // the number after the TAB, 0 when there is none
};

struct WordList
{
    QList<ListEntry> entries;
    // Lines that are neither blank nor one word with an optional TAB and
    // number (blanks or control characters in the word, a bad number, a line
    // of more than MaxLineLength characters), and the first of them.
    qsizetype skippedLines = 0;
    qsizetype firstSkippedLine = 0; // counted from 1
};

// The longest line looked at; a longer one is skipped without being held.
inline constexpr qsizetype MaxLineLength = 1024;

// Reads the word list at `path`: one word a line, optionally followed by a TAB
// and a commonness number (a whole number 0 to 65535). CR LF, LF and CR end
// lines; blank lines are passed over. A byte-order mark names the encoding
// (UTF-8, UTF-16 LE or BE); without one the bytes are UTF-8 when the whole
// file is valid UTF-8, else Windows-1252. The file is mapped and decoded a
// megabyte at a time. False with `error` set (the system's reason) when the
// file cannot be read.
bool readWordList(const QString &path, WordList *list, QString *error);

} // namespace dictionary
