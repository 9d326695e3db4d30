// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace core {

// Where the programs look for their data files (the dictionary dbWords.mdb,
// the hand pointer HAND-M.CUR, the theme x/o.cjs): the per-user data folder
// first, then the folder of the program. The window and digitome-convert
// both ask here, so they always take the same dictionary.
struct DataFolders
{
    QString user;
    QString program;

    // The per-user data folder of this application (QStandardPaths'
    // AppDataLocation: needs the organisation and application name set) and
    // the folder of the running program.
    static DataFolders ofThisProgram();

    // The folder to take `relativePath` from: the per-user folder when
    // anything of that name is there (a damaged file, a pipe, a folder, a
    // broken link or a loop of links too, so that it is reported rather than
    // passed over), else the program's folder, also when neither has it, so
    // that reports name the path beside the program.
    QString folderFor(const QString &relativePath) const;
    // The folder of the dictionary dbWords.mdb, by the rule above.
    QString dictionaryFolder() const;
};

} // namespace core
