// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Checks on the raw bytes of a Jet file, made before libmdb sees it: libmdb
// trusts several structures that a damaged file can break, and crashes on
// some of them.
struct JetFile
{
    enum class Version { Jet3, Jet4 };

    explicit JetFile(const QByteArray &bytes);

    // Whether the first bytes of a file name a Jet 3 or Jet 4 database; a
    // file is read no further when they do not.
    static bool recognizedHeader(const QByteArray &head);
    static constexpr qsizetype HeaderSize = 0x18;
    // Whether the first bytes of a file are those of an Access database of
    // any version (Jet or ACE), readable or not: such a file is never taken
    // for text.
    static bool hasDatabaseSignature(const QByteArray &head);

    // False unless the header names a Jet 3 or Jet 4 database and the size is
    // a whole number of pages holding at least the catalog.
    bool recognized() const { return m_recognized; }
    Version version() const { return m_version; }
    int pageSize() const { return m_version == Version::Jet3 ? 2048 : 4096; }
    qsizetype pageCount() const { return m_bytes.size() / pageSize(); }

    // Empty when the table definition at `page` is a definition page whose
    // two usage-map pointers name real, non-empty rows; else what is wrong.
    QString tableDefinitionProblem(quint32 page) const;

private:
    QString rowProblem(quint32 pointer) const;
    int byteAt(qsizetype at) const { return quint8(m_bytes.at(at)); }
    quint32 uint16At(qsizetype at) const { return quint32(byteAt(at) | byteAt(at + 1) << 8); }
    quint32 uint32At(qsizetype at) const { return uint16At(at) | uint16At(at + 2) << 16; }

    const QByteArray &m_bytes;
    Version m_version = Version::Jet4;
    bool m_recognized = false;
};

} // namespace platform
