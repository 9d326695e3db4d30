// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/InputLines.h"

#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {
constexpr std::size_t BufferSize = std::size_t(1) << 16;
}

InputLines::InputLines(int descriptor)
    : m_descriptor(descriptor)
    , m_buffer(BufferSize)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) == 0) {
        m_wakeRead = ends[0];
        m_wakeWrite = ends[1];
    }
}

InputLines::~InputLines()
{
    if (m_wakeRead >= 0) {
        ::close(m_wakeRead);
        ::close(m_wakeWrite);
    }
}

void InputLines::interrupt()
{
    m_interrupted = true;
    if (m_wakeWrite >= 0) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeWrite, &wake, 1);
    }
}

bool InputLines::fill()
{
    if (m_failed || m_interrupted)
        return false;
    m_begin = m_end = 0;
    for (;;) {
        // Waits for input or an interruption.
        pollfd wait[2] = {{m_descriptor, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(wait, m_wakeRead >= 0 ? 2 : 1, -1) < 0 && errno != EINTR) {
            m_error = qt_error_string(errno);
            m_failed = true;
            return false;
        }
        if (m_interrupted)
            return false;
        const ssize_t count = ::read(m_descriptor, m_buffer.data(), m_buffer.size());
        if (count >= 0) {
            m_end = std::size_t(count);
            return count > 0;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            continue; // a descriptor left non-blocking: wait until there is input
        m_error = qt_error_string(errno);
        m_failed = true;
        return false;
    }
}

bool InputLines::skipRestOfLine()
{
    for (;;) {
        if (m_begin == m_end && !fill())
            return false;
        const char *begin = m_buffer.data() + m_begin;
        const auto *lineEnd = static_cast<const char *>(std::memchr(begin, '\n', m_end - m_begin));
        if (lineEnd) {
            m_begin += std::size_t(lineEnd - begin) + 1;
            return true;
        }
        m_begin = m_end;
    }
}

InputLines::Status InputLines::next(QByteArray &line)
{
    line.clear();
    if (m_skipping) {
        m_skipping = false;
        if (!skipRestOfLine())
            return ended();
    }
    bool started = false;
    for (;;) {
        if (m_begin == m_end && !fill()) {
            if (m_failed || m_interrupted)
                return ended();
            if (!started)
                return Status::End;
            ++m_lineNumber; // the last line, without a line end
            return Status::Line;
        }
        started = true;
        const char *begin = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        const auto *lineEnd = static_cast<const char *>(std::memchr(begin, '\n', available));
        const std::size_t count = lineEnd ? std::size_t(lineEnd - begin) : available;
        // One byte more than the limit: the CR of a CR LF.
        if (line.size() + qsizetype(count) > LongestLine + 1) {
            ++m_lineNumber;
            m_begin += count;
            m_skipping = true;
            line.clear();
            return Status::TooLong;
        }
        line.append(begin, qsizetype(count));
        m_begin += count;
        if (!lineEnd)
            continue;
        ++m_begin;
        ++m_lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > LongestLine) {
            line.clear();
            return Status::TooLong;
        }
        return Status::Line;
    }
}

InputLines::Status InputLines::ended() const
{
    if (m_interrupted)
        return Status::Interrupted;
    return m_failed ? Status::ReadError : Status::End;
}

QString InputLines::problemOf(int descriptor)
{
    struct stat info;
    if (::fstat(descriptor, &info) != 0)
        return errno == EBADF ? u"it is closed"_s : qt_error_string(errno);
    return S_ISDIR(info.st_mode) ? qt_error_string(EISDIR) : QString();
}

std::optional<QString> InputLines::textOf(const QByteArray &line, QString &problem)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (utf8.hasError()) {
        problem = u"is not UTF-8 text"_s;
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != u'\t') {
            problem = u"holds control characters"_s;
            return std::nullopt;
        }
    }
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return text;
}

} // namespace convert
