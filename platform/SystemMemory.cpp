// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/SystemMemory.h"

#include <QByteArray>
#include <QFile>

namespace platform {

qint64 availableMemory()
{
    QFile info(QStringLiteral("/proc/meminfo"));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    // A /proc file has no size, so atEnd() holds before the first read: read
    // line by line until a read gives nothing.
    for (;;) {
        const QByteArray line = info.readLine(256);
        if (line.isEmpty())
            break;
        if (line.startsWith("MemAvailable:")) {
            bool ok = false;
            const qint64 kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kib * 1024 : -1;
        }
    }
    return -1;
}

} // namespace platform
