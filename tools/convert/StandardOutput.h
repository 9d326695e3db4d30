// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

namespace convert {

// Standard output, buffered. A failed write (a full disk, a closed reader:
// the program ignores SIGPIPE, so that is EPIPE) is kept as the system's
// reason, and later output is dropped.
class StandardOutput
{
public:
    void write(const QByteArray &bytes);
    // False when a write failed, now or before.
    bool flush();
    bool failed() const { return !m_failure.isEmpty(); }
    QString failure() const { return m_failure; }

private:
    QByteArray m_buffer;
    QString m_failure;
};

} // namespace convert
