// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>
#include <vector>

namespace convert {

// The lines of an input (standard input), read and handed out one at a time,
// so that any amount of input takes little memory. LF and CR LF end a line.
class InputLines
{
public:
    // The longest line handed out, in bytes without its line end.
    static constexpr qsizetype LongestLine = qsizetype(1) << 20;

    enum class Status {
        Line,        // the next line is in `line`
        TooLong,     // the next line is longer than LongestLine: its rest is skipped
        End,         // after the last line
        ReadError,   // the input cannot be read (error() says why); nothing follows
        Interrupted, // interrupt() was called; nothing follows
    };

    explicit InputLines(int descriptor);
    ~InputLines();
    InputLines(const InputLines &) = delete;
    InputLines &operator=(const InputLines &) = delete;

    Status next(QByteArray &line);
    // Ends a wait for input in next(), from any thread, and every read after it.
    void interrupt();

    // Why the input cannot be read at all (closed, a folder), empty when it
    // can be tried. Ask before any file is opened: the descriptor of a closed
    // input would be taken by the next open.
    static QString problemOf(int descriptor);
    // The text of a line; nullopt for a blank one, and for one that is not
    // UTF-8 text or holds control characters, with the reason in `problem`.
    static std::optional<QString> textOf(const QByteArray &line, QString &problem);
    // The number of the line of the last Line or TooLong, counted from 1.
    qint64 lineNumber() const { return m_lineNumber; }
    QString error() const { return m_error; }

private:
    // Reads more input into the empty buffer; false at the end or on an error.
    bool fill();
    // Skips the rest of a line that was too long; false when the input ends first.
    bool skipRestOfLine();
    // What next() says when fill() gave nothing: End, ReadError or Interrupted.
    Status ended() const;

    int m_descriptor;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0; // the unread part of m_buffer
    std::size_t m_end = 0;
    qint64 m_lineNumber = 0;
    QString m_error;
    bool m_skipping = false; // the rest of a line that was too long lies ahead
    bool m_failed = false;
    std::atomic<bool> m_interrupted = false;
    int m_wakeRead = -1; // a pipe whose write end interrupt() writes to
    int m_wakeWrite = -1;
};

} // namespace convert
