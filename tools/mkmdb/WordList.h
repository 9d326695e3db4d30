// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace mkmdb {

struct ListedWord
{
    QString word;
    QString category; // the list the word was first found in, or "added"
};

// Gathers the dictionary from word-list files (one entry per line, Latin-1 or
// UTF-8): entries of plain letters a-z only, lower-cased, each once, sorted;
// of the one-letter words only "a" and "i", and "i" always. Fails with
// `error` set when a list cannot be read.
bool gatherWords(const QStringList &listFiles, QList<ListedWord> *words, QString *error);

} // namespace mkmdb
