// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace app {

// Where the program looks for its data files (the dictionary dbWords.mdb, the
// hand pointer HAND-M.CUR, the theme x/o.cjs): the per-user data folder
// first, then the folder of the program.
struct DataFolders
{
    QString user;
    QString program;

    // The folder to take `relativePath` from: the per-user folder when
    // anything of that name is there (a damaged file or a broken link too, so
    // that it is reported rather than passed over), else the program's folder,
    // also when neither has it, so that reports name the path beside the
    // program.
    QString folderFor(const QString &relativePath) const;
};

} // namespace app
