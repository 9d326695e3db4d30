// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace convert {

namespace {
constexpr qsizetype FlushAt = qsizetype(1) << 16;
}

void StandardOutput::write(const QByteArray &bytes)
{
    if (failed())
        return;
    m_buffer += bytes;
    if (m_buffer.size() >= FlushAt)
        flush();
}

bool StandardOutput::flush()
{
    if (!failed()
        && (std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), stdout)
                != size_t(m_buffer.size())
            || std::fflush(stdout) != 0))
        m_failure = QString::fromLocal8Bit(std::strerror(errno));
    m_buffer.clear();
    return !failed();
}

} // namespace convert
