// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/DataFolders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace core {

DataFolders DataFolders::ofThisProgram()
{
    return {QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            QCoreApplication::applicationDirPath()};
}

QString DataFolders::folderFor(const QString &relativePath) const
{
    if (!user.isEmpty()) {
        // exists() follows links: a link that leads nowhere counts by itself.
        const QFileInfo candidate(user + u'/' + relativePath);
        if (candidate.exists() || candidate.isSymLink())
            return user;
    }
    return program;
}

QString DataFolders::dictionaryFolder() const
{
    return folderFor(u"dbWords.mdb"_s);
}

} // namespace core
