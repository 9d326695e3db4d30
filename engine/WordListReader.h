// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

class QIODevice;

namespace engine {

class WordStore;

// What reading a word list found.
struct WordListReport
{
    qsizetype wordsAdded = 0;
    // Lines skipped as damaged: control characters (NUL too), bytes that
    // are no text in the list's encoding, or longer than LongestWordLine.
    qsizetype damagedLines = 0;
    qsizetype firstDamagedLine = 0; // counted from 1; 0 when none
    // Why reading stopped before the end (the device's error, a store that
    // holds no more words); empty when it read to the end.
    QString failure;
    qsizetype failureLine = 0; // the line it stopped at; 0 for a read error
};

// Words are far shorter; a longer line is damaged (UTF-16 units).
inline constexpr qsizetype LongestWordLine = 1000;

// Reads a text word list from `device` (open, and able to seek: a list
// without a byte-order mark is read twice) into `store`, a megabyte at a
// time, so that memory holds the words and little more.
//
// The text is UTF-8, UTF-16 or UTF-32 as its byte-order mark says; without
// one it is UTF-8 when all of it is, else Windows-1252. One word a line
// (LF, CR LF or CR), optionally followed by a TAB and its commonness level, a
// whole number (anything else there means no level). Words are lower-cased;
// blank lines, lines whose word holds a blank and repeats are skipped
// silently, damaged lines are skipped and counted.
WordListReport readWordList(QIODevice &device, WordStore &store);

} // namespace engine
