// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

// glib first: mdbtools.h wraps its own includes in extern "C".
#include <glib.h>
#include <mdbtools.h>
#include <memory>

class QFile;

namespace platform {
class MappedFile;
}

namespace platform {

// An open Jet file: its bytes (mapped or in memory) and libmdb's handle over
// them. Shared by the connection and the tables read from it.
struct OpenJetFile
{
    OpenJetFile();
    ~OpenJetFile();
    OpenJetFile(const OpenJetFile &) = delete;
    OpenJetFile &operator=(const OpenJetFile &) = delete;

    static constexpr quint32 NoPage = 0xFFFFFFFF;

    // Puts `page` into libmdb's page buffer; throws core::Failure when it
    // cannot be read.
    void loadPage(quint32 page);

    // Lets the system drop the mapped pages `first` to `end` (exclusive) from
    // memory once libmdb has copied them: a later read maps them in again.
    // Nothing happens to contents that are not a mapped file.
    void dropPages(quint32 first, quint32 end) const;

    // A file that shrank or changed while it was read is damaged: throws the
    // damaged-file report. faulted() is the cheap part of the check, for
    // every value read: a page the file no longer had was read.
    void requireUnchanged() const;
    bool faulted() const;

    QString path;
    std::unique_ptr<MappedFile> mapped; // the file, read through `contents`, when it is one
    QByteArray contents;                // libmdb reads from this buffer while the handle lives
    MdbHandle *mdb = nullptr;
    // The page in libmdb's page buffer as far as the tables know; NoPage after
    // libmdb read pages of its own.
    quint32 loadedPage = NoPage;
};

// "The database '…' is damaged: <what>."
QString damagedDatabase(const QString &path, const QString &what);

} // namespace platform
