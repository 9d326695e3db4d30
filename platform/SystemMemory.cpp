// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/SystemMemory.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <algorithm>
#include <limits>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace detail {

namespace {

// A whole non-negative decimal number, or -1.
qint64 numberOf(QByteArrayView text)
{
    bool ok = false;
    const qint64 value = QByteArray(text.trimmed().data(), text.trimmed().size()).toLongLong(&ok);
    return ok && value >= 0 ? value : -1;
}

} // namespace

qint64 kilobyteField(QByteArrayView contents, QByteArrayView name)
{
    for (QByteArrayView rest = contents; !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (!line.startsWith(name) || line.size() <= name.size() || line[name.size()] != ':')
            continue;
        QByteArrayView value = line.sliced(name.size() + 1).trimmed();
        if (!value.endsWith("kB"))
            return -1;
        const qint64 kilobytes = numberOf(value.chopped(2));
        if (kilobytes < 0 || kilobytes > std::numeric_limits<qint64>::max() / 1024)
            return -1;
        return kilobytes * 1024;
    }
    return -1;
}

QString cgroupOf(QByteArrayView procCgroup, bool unified)
{
    // Each line is "hierarchy:controllers:path"; the unified one is
    // hierarchy 0 with no controllers.
    for (const QByteArray &line : QByteArray(procCgroup.data(), procCgroup.size()).split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3 || !fields.at(2).startsWith('/'))
            continue;
        const bool isUnified = fields.at(0) == "0" && fields.at(1).isEmpty();
        const bool isMemory = fields.at(1).split(',').contains("memory");
        if (unified ? isUnified : isMemory)
            return QString::fromUtf8(line.sliced(fields.at(0).size() + fields.at(1).size() + 2));
    }
    return {};
}

qint64 cgroupMemoryLeft(QByteArrayView limit, QByteArrayView use)
{
    const qint64 most = numberOf(limit);
    const qint64 used = numberOf(use);
    if (most < 0 || used < 0)
        return -1;
    return std::max<qint64>(0, most - used);
}

qint64 addressSpaceLeft(bool unlimited, quint64 limit, qint64 mapped)
{
    if (unlimited || mapped < 0)
        return -1;
    const quint64 used = quint64(mapped);
    return limit <= used ? 0
                         : qint64(std::min<quint64>(limit - used,
                                                    quint64(std::numeric_limits<qint64>::max())));
}

qint64 leastKnown(std::initializer_list<qint64> figures)
{
    qint64 least = -1;
    for (const qint64 figure : figures)
        if (figure >= 0 && (least < 0 || figure < least))
            least = figure;
    return least;
}

} // namespace detail

namespace {

// A small file of /proc or /sys whole; they report no size, so it is read
// until a read gives nothing. Empty when it cannot be read.
QByteArray readSystemFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray contents;
    char buffer[4096];
    for (qint64 count;
         contents.size() < (1 << 20) && (count = file.read(buffer, sizeof buffer)) > 0;)
        contents.append(buffer, count);
    return contents;
}

// The least that the cgroup of the process and those above it leave, in the
// unified hierarchy or in version 1's memory hierarchy.
qint64 cgroupMemoryLeft(const QByteArray &procCgroup, bool unified)
{
    const QString cgroup = detail::cgroupOf(procCgroup, unified);
    if (cgroup.isEmpty())
        return -1;
    QString root = u"/sys/fs/cgroup/memory"_s;
    if (unified)
        root = QFile::exists(u"/sys/fs/cgroup/cgroup.controllers"_s) ? u"/sys/fs/cgroup"_s
                                                                     : u"/sys/fs/cgroup/unified"_s;
    const QString limit = unified ? u"/memory.max"_s : u"/memory.limit_in_bytes"_s;
    const QString use = unified ? u"/memory.current"_s : u"/memory.usage_in_bytes"_s;
    qint64 least = -1;
    for (QString folder = cgroup; !folder.isEmpty(); folder.truncate(folder.lastIndexOf(u'/'))) {
        const QString base = root + folder;
        least = detail::leastKnown(
            {least,
             detail::cgroupMemoryLeft(readSystemFile(base + limit), readSystemFile(base + use))});
    }
    return least;
}

qint64 addressSpaceLeft()
{
#ifdef Q_OS_LINUX
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0)
        return -1;
    return detail::addressSpaceLeft(
        limit.rlim_cur == RLIM_INFINITY,
        quint64(limit.rlim_cur),
        detail::kilobyteField(readSystemFile(u"/proc/self/status"_s), "VmSize"));
#else
    return -1;
#endif
}

} // namespace

qint64 availableMemory()
{
    const QByteArray procCgroup = readSystemFile(u"/proc/self/cgroup"_s);
    return detail::leastKnown(
        {detail::kilobyteField(readSystemFile(u"/proc/meminfo"_s), "MemAvailable"),
         addressSpaceLeft(),
         cgroupMemoryLeft(procCgroup, true),
         cgroupMemoryLeft(procCgroup, false)});
}

} // namespace platform
