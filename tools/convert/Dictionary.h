// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace engine {
class WordStore;
}

namespace convert {

// The dictionary the window loads: dbWords.mdb in the per-user data folder
// when it is there, else beside this program. Needs the application's
// organisation and name set.
QString defaultDictionaryPath();

// Loads the words of `path` into `words`: a Jet database (.mdb, read as the
// window reads it, commonness levels included) or a UTF-8 text file of words,
// one a line (lower-cased; blank lines and repeats are skipped). Returns what
// went wrong, empty when nothing did.
QString loadDictionary(const QString &path, engine::WordStore &words);

} // namespace convert
