// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

class QIODevice;

namespace engine {

class WordStore;

// A line of a word list that holds one word.
struct WordListEntry
{
    QStringView word;     // as the list spells it: no blank, control character or broken text
    bool hasTab = false;  // whether a TAB follows the word
    QStringView afterTab; // what follows the TAB (its number, if it is one)
    qsizetype line = 0;   // counted from 1
};

// Why a line that is not blank holds no word.
enum class PassedOverLine {
    HoldsBlank, // blanks inside the word
    NoWord,     // a TAB with nothing before it
    Damaged,    // control characters (NUL too), bytes that are no text in the list's
                // encoding, or longer than LongestWordLine
};

// Where a word list's lines go, one at a time, in the order of the list.
class WordListSink
{
public:
    virtual ~WordListSink() = default;
    virtual void take(const WordListEntry &entry) = 0;
    virtual void passOver(PassedOverLine why, qsizetype line) = 0;
};

// Words are far shorter; a longer line is damaged (UTF-16 units).
inline constexpr qsizetype LongestWordLine = 1000;

// Reads a text word list from `device` (open, and able to seek: a list
// without a byte-order mark is read twice), a megabyte at a time, so that
// memory holds the words and little more. Returns the device's error when
// it cannot be read, else an empty string; what the sink throws goes on.
//
// The text is UTF-8, UTF-16 or UTF-32 as its byte-order mark says; without
// one it is UTF-8 when all of it is, else Windows-1252. One word a line
// (LF, CR LF or CR), optionally followed by a TAB and more. Blank lines
// (nothing but blanks) are passed over silently; a mark at a line's start
// (a file joined to the list) is no part of it.
QString readWordList(QIODevice &device, WordListSink &sink);

// What reading a word list into a store found.
struct WordListReport
{
    qsizetype wordsAdded = 0;
    // Lines skipped as damaged, and the first of them.
    qsizetype damagedLines = 0;
    qsizetype firstDamagedLine = 0; // counted from 1; 0 when none
    // Why reading stopped before the end (the device's error, a store that
    // holds no more words); empty when it read to the end.
    QString failure;
    qsizetype failureLine = 0; // the line it stopped at; 0 for a read error
};

// Reads a word list into `store`: the number after a word's TAB is its
// commonness level when it is a whole number (clamped to the store's range;
// anything else there means no level). Words are lower-cased; lines with
// blanks or without a word, and repeats, are skipped silently, damaged lines
// are skipped and counted.
WordListReport readWordList(QIODevice &device, WordStore &store);

} // namespace engine
