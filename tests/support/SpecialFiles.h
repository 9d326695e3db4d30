// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QFile>
#include <QString>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Paths that are not regular files, for the tests that every reader and
// writer refuses them without blocking.
namespace testsupport {

// Adds one row per kind of special path to a table whose first column is
// the QString "kind".
inline void addSpecialFileRows()
{
    for (const char *kind : {"folder", "fifo", "socket", "device link", "fifo link"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Makes a special path of `kind` at `path` and returns the path; a test that
// cannot make it stops at once. "device link" points at /dev/null, which
// nothing reads when the code is right and which is empty when it is wrong;
// "zero link" at /dev/zero, which never ends; "dangling link" at nothing;
// "link loop" at itself.
inline QString makeSpecialFile(const QString &kind, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    bool made = false;
    if (kind == u"folder") {
        made = ::mkdir(name.constData(), 0700) == 0;
    } else if (kind == u"fifo") {
        made = ::mkfifo(name.constData(), 0600) == 0;
    } else if (kind == u"fifo link") {
        const QByteArray target = name + ".fifo";
        made = ::mkfifo(target.constData(), 0600) == 0
               && ::symlink(target.constData(), name.constData()) == 0;
    } else if (kind == u"device link" || kind == u"zero link") {
        made = ::symlink(kind == u"zero link" ? "/dev/zero" : "/dev/null", name.constData()) == 0;
    } else if (kind == u"dangling link") {
        made = ::symlink((name + ".missing").constData(), name.constData()) == 0;
    } else if (kind == u"link loop") {
        made = ::symlink(name.constData(), name.constData()) == 0;
    } else if (kind == u"socket") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd >= 0 && size_t(name.size()) < sizeof address.sun_path) {
            std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
            made = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    if (!made)
        qFatal("cannot make the special file %s (%s)", name.constData(), qPrintable(kind));
    return path;
}

// Whether `path` is still the special path `kind` made (nothing replaced it).
inline bool isStillSpecial(const QString &kind, const QString &path)
{
    struct stat link;
    struct stat target;
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &link) != 0)
        return false;
    if (kind == u"link loop")
        return S_ISLNK(link.st_mode) && ::stat(name.constData(), &target) != 0 && errno == ELOOP;
    if (::stat(name.constData(), &target) != 0)
        return false;
    if (kind.endsWith(u" link"))
        return S_ISLNK(link.st_mode) && !S_ISREG(target.st_mode);
    return !S_ISREG(link.st_mode) && !S_ISLNK(link.st_mode);
}

} // namespace testsupport
