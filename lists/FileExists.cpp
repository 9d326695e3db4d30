#include "FileExists.h"

#include <QFileInfo>

namespace lists {

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(path).lastModified().isValid();
}

} // namespace lists
