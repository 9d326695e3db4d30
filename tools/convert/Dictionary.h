// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace engine {
class WordStore;
}

namespace convert {

// How loading the dictionary went: a failure ends the program, notices are
// said and the numbers converted.
struct DictionaryLoad
{
    QString failure;
    QStringList notices;
};

// Loads the words into `words`. Without `wordsFile`, the window's dictionary:
// dbWords.mdb from the folder core::DataFolders chooses, opened and read as
// the window opens and reads it, with the window's report texts. Else
// `wordsFile`: a Jet database the same way, or a text word list read by
// engine::readWordList. Needs the application's organisation and name set.
DictionaryLoad loadDictionary(const QString &wordsFile, engine::WordStore &words);

} // namespace convert
