// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/DataFolders.h"

#include <QFileInfo>

namespace app {

QString DataFolders::folderFor(const QString &relativePath) const
{
    if (!user.isEmpty()) {
        const QFileInfo candidate(user + QLatin1Char('/') + relativePath);
        if (candidate.exists() || candidate.isSymLink())
            return user;
    }
    return program;
}

} // namespace app
