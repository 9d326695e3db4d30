// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace lists {

// Where the bytes of a list file come from: a file or bytes in memory.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes into `to`; 0 at the end. Throws core::Failure when
    // it cannot read.
    virtual qint64 read(char *to, qint64 size) = 0;
    virtual void rewind() = 0;
    // The bytes there are to read, for the progress.
    virtual qint64 size() const = 0;
};

class MemorySource : public ByteSource
{
public:
    explicit MemorySource(QByteArrayView bytes)
        : m_bytes(bytes)
    {}
    qint64 read(char *to, qint64 size) override;
    void rewind() override { m_at = 0; }
    qint64 size() const override { return m_bytes.size(); }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// Receives each item of a list file as UTF-8.
using ItemSink = std::function<void(QByteArrayView utf8)>;
// Runs after each chunk with the share of the reading done (0 to 1); false
// stops the reading.
using ChunkPulse = std::function<bool(double done)>;

// Reads the items of a list file from `source` into `sink`, `chunkSize` bytes
// at a time, so that the bytes are never held whole. A leading byte-order
// mark names the encoding (UTF-8, UTF-16 LE/BE, UTF-32 LE/BE) and is
// dropped; without one the bytes are UTF-8 when the whole file is valid
// UTF-8 (looked at in a first pass), else Windows-1252. CR LF, CR and LF
// each end a line; every line gives one item, upper-cased and never trimmed;
// a line end at the very end adds no empty item; NUL characters are dropped;
// lone surrogates become U+FFFD. Returns false when `pulse` stopped it (the
// items so far were given).
bool readListItems(ByteSource &source,
                   const ItemSink &sink,
                   qint64 chunkSize,
                   const ChunkPulse &pulse = {});

} // namespace lists
