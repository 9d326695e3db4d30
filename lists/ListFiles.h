// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringList>

#include <functional>

namespace core {
class Dialogs;
class ItemListModel;
} // namespace core

namespace lists {

// List files: plain text, one number per line, read into a list a chunk at
// a time (see readListItems for how the bytes become items).

// The most bytes one load reads: a file, or the files chosen together.
inline constexpr qint64 MaxListFileSize = qint64(256) << 20;

// One load of list files into a list: the files are read one after the
// other, their items appended as pending lines (the caller shows them), and
// together they may not hold more than MaxListFileSize bytes.
class ListFileLoad
{
public:
    // Runs after each chunk with the share of the load's bytes done (0 to
    // 1), the file being read and the items appended so far; false stops
    // the load.
    using Progress = std::function<bool(double done, const QString &path, qint64 items)>;

    // `bytes`: what the files of the load hold together (listFilesSize).
    ListFileLoad(core::ItemListModel &list, qint64 bytes, Progress progress = {});

    // Appends the items of the list file at `path`; false when the progress
    // stopped it. Throws core::Failure naming the path when it cannot be read
    // (a folder, a pipe, a device, a socket, a file above MaxListFileSize or
    // above what the load has left, a read error); items read before a read
    // error stay.
    bool append(const QString &path);
    qint64 items() const { return m_items; }

private:
    core::ItemListModel &m_list;
    qint64 m_bytes;
    Progress m_progress;
    qint64 m_read = 0;  // bytes of the files read so far
    qint64 m_files = 0; // files begun
    qint64 m_items = 0;
};

// The bytes the regular files among `paths` hold together; others count
// nothing (they fail when they are loaded).
qint64 listFilesSize(const QStringList &paths);

// Throws core::Failure when the files at `paths` hold more than
// MaxListFileSize bytes together.
void refuseLargeLoad(const QStringList &paths);

// Appends the items of the list file at `path` to `list`, shown in one
// insertion, or shows "File not found" when there is no such file. Throws
// core::Failure as ListFileLoad::append does.
void loadListFile(core::Dialogs &dialogs, core::ItemListModel &list, const QString &path);

// The items of a list file's bytes (see readListItems).
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
