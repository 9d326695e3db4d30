// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

class QFile;
class QString;

namespace core {

// What a path names once symbolic links are followed. A symbolic link whose
// target does not exist is a DanglingLink, one that leads back to itself
// (directly or through others) a Loop; a path that is not there at all is
// Missing.
enum class FileKind { Missing, Regular, Folder, Pipe, Device, Socket, DanglingLink, Loop, Other };

// The kind of `path`; never opens it.
FileKind fileKindOf(const QString &path);

// Opens `path` for reading when it names a regular file, without an open that
// can block: a named pipe, device or socket is never opened for good (a path
// that turns into one between the check and the open is closed at once).
// Returns the kind found; `file` is open only when it is FileKind::Regular
// and the open succeeded, else `error` (when given) holds the system's reason.
FileKind openRegularFile(QFile &file, const QString &path, QString *error = nullptr);

// A short reason in the style of the system's error texts, such as "Is a
// named pipe", for a kind that is not a regular file.
QString fileKindProblem(FileKind kind);

// A size in megabytes as reports print it ("256 MB").
QString megabytesText(qint64 bytes);

// Makes `path` and the folders above it that are missing, each private to the
// user (mode 0700); true when the folder exists afterwards.
bool makePrivateFolders(const QString &path);

// Size limits of the files the program reads whole.
inline constexpr qint64 SmallFileLimit = qint64(1) << 20; // theme, cursor, settings

// The whole of `path` when it is a regular file of at most SmallFileLimit
// bytes that reads without error; else nothing, and `error` (when given)
// holds the reason: the kind's problem, "Larger than 1 MB" or the system's.
std::optional<QByteArray> readSmallFile(const QString &path, QString *error = nullptr);

} // namespace core
