// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QBuffer>

// An in-memory device that takes `capacity` bytes and then fails every write,
// like a disk that fills up; optionally it refuses to open at all.
class FailingDevice : public QBuffer
{
public:
    explicit FailingDevice(qint64 capacity, bool refuseOpen = false)
        : m_capacity(capacity)
        , m_refuseOpen(refuseOpen)
    {}

    bool open(OpenMode mode) override
    {
        if (m_refuseOpen) {
            setErrorString(QStringLiteral("Permission denied"));
            return false;
        }
        return QBuffer::open(mode);
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (size() + length > m_capacity) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, length);
    }

private:
    qint64 m_capacity;
    bool m_refuseOpen;
};
