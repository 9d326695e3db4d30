// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/jet4/Jet4Writer.h"

#include <QString>
#include <QStringList>

namespace mkmdb {

struct ListedWord
{
    QString word;
    QString category; // the list the word was first found in, or "added"
    // How common the word is: the smallest size among the lists that hold it
    // (the number after the last "." of a list's file name, as in
    // "english-words.20"); 0 when no such list names a size.
    qint32 commonness = 0;
    // How offensive the word is: 0 none, 1 maybe, 2 likely.
    qint32 offensive = 0;
};

// Gathers the dictionary from word-list files (one entry per line, Latin-1 or
// UTF-8): entries of plain letters a-z only, lower-cased, each once, sorted;
// of the one-letter words only "a" and "i", and "i" always (as common as the
// most common list when no list holds it). Fails with
// `error` set when a list cannot be read.
bool gatherWords(const QStringList &listFiles, QList<ListedWord> *words, QString *error);

// Gives the gathered words (sorted, as gatherWords leaves them) the ratings of
// a file of lines "word TAB rating" (0, 1 or 2; UTF-8); words it does not
// name keep 0. Fails with `error` set when the file cannot be read or a line
// is not of that form.
bool rateWords(const QString &ratingsFile, QList<ListedWord> *words, QString *error);

// The columns of the dictionary table `words`: ID (Long Integer, from 1),
// Category (Text 50), Word (Text 255), Commonness (Long Integer) and, for
// rated words, Offensive (Long Integer).
QList<jet4::Column> wordsColumns(bool withOffensive);

// The dictionary table `words`, one row per word.
jet4::Table wordsTable(const QList<ListedWord> &words, bool withOffensive);

} // namespace mkmdb
