// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/HandCursor.h"

#include "core/Failure.h"
#include "core/RegularFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace app {

QCursor loadHandCursor(const QString &path)
{
    // Only a regular file of at most 1 MB is read, and only once; anything
    // else is an invalid picture.
    std::optional<QByteArray> read = core::readSmallFile(path);
    if (!read)
        throw core::Failure(u"Invalid picture"_s);
    QByteArray &bytes = *read;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead())
        throw core::Failure(u"Invalid picture"_s);
    const QImage image = reader.read();
    if (image.isNull())
        throw core::Failure(u"Invalid picture"_s);

    // Qt does not report a cursor file's hot spot: it is the pair of uint16
    // values at offsets 10 and 12, in the first directory entry.
    int hotX = -1;
    int hotY = -1;
    if (bytes.size() >= 14 && qFromLittleEndian<quint16>(bytes.constData() + 2) == 2) {
        hotX = qFromLittleEndian<quint16>(bytes.constData() + 10);
        hotY = qFromLittleEndian<quint16>(bytes.constData() + 12);
        if (hotX >= image.width() || hotY >= image.height())
            hotX = hotY = -1;
    }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

} // namespace app
