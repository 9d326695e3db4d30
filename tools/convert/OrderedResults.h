// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace convert {

// The best line of a number, for ordering the numbers.
struct BestLine
{
    quint32 score = 0;
    QByteArray text; // as written out
};

// How a number's conversion ended.
struct NumberEnd
{
    QStringList messages; // for standard error
    bool ok = true;
    std::optional<BestLine> best;
};

// The reorder buffer between the workers, which convert numbers in any
// order, and the writer, which takes their output in input order. Each number
// has a sequence number (from 0, in input order). Memory stays bounded: a
// worker waits before it starts a number that is too far ahead of the one
// being written, and before it adds output while the buffered output of later
// numbers is too large. The number being written is never held up, so the
// writer always makes progress.
class OrderedResults
{
public:
    // `mostAhead`: how many numbers may be in flight or done beyond the one
    // being written; `mostBytes`: how much output of later numbers is held.
    OrderedResults(qint64 mostAhead, qsizetype mostBytes);

    // Worker side. Each returns false once stop() was called.
    // Waits until number `sequence` may be converted.
    bool waitForTurn(qint64 sequence);
    // Adds output of number `sequence`, taking the bytes.
    bool write(qint64 sequence, QByteArray &bytes);
    // Ends number `sequence`; its output is complete.
    void finish(qint64 sequence, NumberEnd end);
    // There are `count` numbers in all (sequence numbers 0 to count - 1).
    void endOfNumbers(qint64 count);

    // Writer side: the next output in input order. Blocks until there is
    // some, calling `beforeWaiting` (without the lock) once before it sleeps.
    struct Taken
    {
        qint64 sequence = 0; // the number the bytes belong to
        QByteArray bytes;
        std::optional<NumberEnd> end; // the number ended (after its bytes)
        bool done = false;            // every number was taken, or stop()
    };
    Taken take(const std::function<void()> &beforeWaiting);

    // Wakes and releases everyone: the output cannot be written any more.
    void stop();
    bool stopped() const { return m_stopped.load(std::memory_order_relaxed); }

private:
    struct Entry
    {
        QByteArray bytes;
        std::optional<NumberEnd> end;
    };
    Entry &entry(qint64 sequence);

    const qint64 m_mostAhead;
    const qsizetype m_mostBytes;
    std::mutex m_mutex;
    std::condition_variable m_workers;
    std::condition_variable m_writer;
    std::deque<Entry> m_entries; // from the head on
    qint64 m_head = 0;           // the number being written
    qint64 m_count = -1;         // unknown until the input ends
    qsizetype m_bufferedBytes = 0;
    std::atomic<bool> m_stopped = false; // set under the lock, read without it too
};

} // namespace convert
