// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace platform {

// A whole file mapped for reading that survives the file shrinking under it
// (a copy over it while it is read): a page the file no longer has reads as
// zeros instead of ending the process with SIGBUS, and changed() then says
// so. changed() also holds once the file's size or modification time differ
// from when it was mapped, since what was read may then mix old and new.
//
// The zero pages come from a SIGBUS handler that answers only for pages of
// live mappings of this class and passes every other SIGBUS on to the
// handler it found (by default: the end of the process, as before).
class MappedFile
{
public:
    // Maps `file`, which is open for reading. isValid() is false, and
    // errorString() says why, when it cannot be mapped.
    explicit MappedFile(const QFile &file);
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    bool isValid() const { return m_data != nullptr; }
    QString errorString() const { return m_error; }
    // The bytes, valid while this lives; they are never copied.
    QByteArray bytes() const;

    bool changed() const;
    // Whether a page the file no longer has was read: the cheap part of
    // changed(), without a system call.
    bool faulted() const;

private:
    int m_fd = -1;
    void *m_data = nullptr;
    qint64 m_size = 0;
    int m_slot = -1;
    qint64 m_modified = 0;
    QString m_error;
};

} // namespace platform
