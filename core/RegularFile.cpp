// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace core {

namespace {

#ifdef Q_OS_UNIX
FileKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileKind::Device;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Other;
}
#endif

} // namespace

FileKind fileKindOf(const QString &path)
{
    if (path.isEmpty())
        return FileKind::Missing;
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) == 0)
        return kindOfMode(info.st_mode);
    if (errno == ELOOP)
        return FileKind::Loop;
    // The path may still be a link to nothing.
    if (errno == ENOENT && ::lstat(name.constData(), &info) == 0 && S_ISLNK(info.st_mode))
        return FileKind::DanglingLink;
    return FileKind::Missing;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return FileKind::Missing;
    if (info.isDir())
        return FileKind::Folder;
    return info.isFile() ? FileKind::Regular : FileKind::Other;
#endif
}

FileKind openRegularFile(QFile &file, const QString &path, QString *error)
{
    const FileKind kind = fileKindOf(path);
    if (kind != FileKind::Regular)
        return kind;
#ifdef Q_OS_UNIX
    // O_NONBLOCK: should the path have become a pipe since the check, the
    // open returns at once instead of waiting for a writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = qt_error_string(errno);
        return FileKind::Regular;
    }
    struct stat info;
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return known ? kindOfMode(info.st_mode) : FileKind::Other;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = file.errorString();
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly) && error)
        *error = file.errorString();
#endif
    return FileKind::Regular;
}

QString fileKindProblem(FileKind kind)
{
    switch (kind) {
    case FileKind::Missing:
        return u"No such file or directory"_s;
    case FileKind::Regular:
        return {};
    case FileKind::Folder:
        return u"Is a folder"_s;
    case FileKind::Pipe:
        return u"Is a named pipe"_s;
    case FileKind::Device:
        return u"Is a device"_s;
    case FileKind::Socket:
        return u"Is a socket"_s;
    case FileKind::DanglingLink:
        return u"Is a link to a file that does not exist"_s;
    case FileKind::Loop:
        return u"Too many levels of symbolic links"_s;
    case FileKind::Other:
        break;
    }
    return u"Not a regular file"_s;
}

std::optional<QByteArray> readSmallFile(const QString &path, QString *error)
{
    QFile file;
    QString reason;
    const auto failed = [&](const QString &why) -> std::optional<QByteArray> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const FileKind kind = openRegularFile(file, path, &reason);
    if (kind != FileKind::Regular)
        return failed(fileKindProblem(kind));
    if (!file.isOpen())
        return failed(reason);
    if (file.size() > SmallFileLimit)
        return failed(u"Larger than %1"_s.arg(megabytesText(SmallFileLimit)));
    QByteArray bytes = file.read(SmallFileLimit);
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    return bytes;
}

bool makePrivateFolders(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (fileKindOf(path) == FileKind::Folder)
        return true;
#ifdef Q_OS_UNIX
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != QFileInfo(path).absoluteFilePath() && !makePrivateFolders(parent))
        return false;
    // Another process may make it meanwhile: what counts is that it exists.
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    return fileKindOf(path) == FileKind::Folder;
#else
    return QDir().mkpath(path);
#endif
}

QString megabytesText(qint64 bytes)
{
    return QString::number(bytes >> 20) + u" MB"_s;
}

} // namespace core
