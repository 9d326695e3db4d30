// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>

// The entries of a word list, as digitome-dictionary takes them: read by
// the engine's word list reader, kept as the list spells them.
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
    // number (blanks or control characters in the word, no word before the
    // TAB, a bad number, text that is damaged or longer than
    // engine::LongestWordLine), and the first of them.
    qsizetype skippedLines = 0;
    qsizetype firstSkippedLine = 0; // counted from 1
};

// Reads the word list at `path` (see engine::readWordList for its encodings
// and lines); the number after a TAB is a whole number 0 to 65535. False
// with `error` set (the system's reason) when the file cannot be read.
bool readWordList(const QString &path, WordList *list, QString *error);

} // namespace dictionary
