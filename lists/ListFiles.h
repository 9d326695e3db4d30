// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>

namespace core {
class Dialogs;
class ItemListModel;
} // namespace core

namespace lists {

// List files: plain text, one number per line, read into a list in one batch.

// The largest list file read: a bigger one is refused before it is read.
inline constexpr qint64 MaxListFileSize = qint64(256) << 20;

// Appends the items of the list file at `path` to `list`, or shows "File not
// found" when there is no such file. Throws core::Failure when the file
// cannot be read (a folder, a pipe, a device, a socket, a file above
// MaxListFileSize, a read error); the list is then unchanged. The file is read
// and decoded a chunk at a time, so the bytes are never held whole.
void loadListFile(core::Dialogs &dialogs, core::ItemListModel &list, const QString &path);

// The items of the list file at `path` (see listFileItems); throws
// core::Failure naming the path when it cannot be read.
QStringList readListFile(const QString &path);

// The items of a list file's bytes. A leading byte-order mark names the
// encoding (UTF-8, UTF-16 LE/BE, UTF-32 LE/BE) and is dropped; without one the
// bytes are UTF-8 when the whole file is valid UTF-8, else Windows-1252. CR LF, CR and LF each end
// a line; every line gives one item, upper-cased and never trimmed; a line end at the very end adds
// no empty item. NUL characters are dropped.
QStringList listFileItems(QByteArrayView bytes);

// Tidies a path joined from a folder and a file name: every pair of
// backslashes becomes one, scanning left to right (so three or four in a row
// become two), and a leading run of backslashes of any length becomes exactly
// two.
QString normalizeBackslashes(const QString &path);

// Every run of "/" in `path` collapsed to one.
QString collapseSlashes(const QString &path);

// The open dialog's chosen paths as one text: a single path as it is;
// several as their common folder followed by each path relative to it, all
// separated by NUL characters. A root folder keeps its trailing separator
// ("/", "C:\"). Empty for no paths.
QString selectionText(const QStringList &paths, QChar separator);

namespace detail {
// Windows-1252 decoding from a built-in table, for a Qt without that codec.
QString decodeWindows1252Table(QByteArrayView bytes);
// listFileItems read `chunkSize` bytes at a time (a megabyte in use), so that
// tests can put the seams anywhere.
QStringList listFileItemsInChunks(QByteArrayView bytes, qint64 chunkSize);
} // namespace detail

} // namespace lists
