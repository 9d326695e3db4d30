// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/OrderedResults.h"

namespace convert {

OrderedResults::OrderedResults(qint64 mostAhead, qsizetype mostBytes)
    : m_mostAhead(mostAhead)
    , m_mostBytes(mostBytes)
{}

OrderedResults::Entry &OrderedResults::entry(qint64 sequence)
{
    const auto index = std::size_t(sequence - m_head);
    if (index >= m_entries.size())
        m_entries.resize(index + 1);
    return m_entries[index];
}

bool OrderedResults::waitForTurn(qint64 sequence)
{
    std::unique_lock lock(m_mutex);
    m_workers.wait(lock, [&] {
        return m_stopped || sequence - m_head < m_mostAhead;
    });
    return !m_stopped;
}

bool OrderedResults::write(qint64 sequence, QByteArray &bytes)
{
    std::unique_lock lock(m_mutex);
    m_workers.wait(lock, [&] {
        return m_stopped || sequence == m_head || m_bufferedBytes + bytes.size() <= m_mostBytes;
    });
    if (m_stopped)
        return false;
    m_bufferedBytes += bytes.size();
    entry(sequence).bytes += bytes;
    bytes.clear();
    if (sequence == m_head)
        m_writer.notify_one();
    return true;
}

void OrderedResults::finish(qint64 sequence, NumberEnd end)
{
    std::lock_guard lock(m_mutex);
    if (m_stopped)
        return;
    entry(sequence).end = std::move(end);
    if (sequence == m_head)
        m_writer.notify_one();
}

void OrderedResults::endOfNumbers(qint64 count)
{
    std::lock_guard lock(m_mutex);
    if (m_count < 0 || count < m_count)
        m_count = count;
    m_writer.notify_one();
}

OrderedResults::Taken OrderedResults::take(const std::function<void()> &beforeWaiting)
{
    std::unique_lock lock(m_mutex);
    bool waitedBefore = false;
    for (;;) {
        if (m_stopped || (m_count >= 0 && m_head >= m_count))
            return Taken{m_head, {}, {}, true};
        if (!m_entries.empty()) {
            Entry &head = m_entries.front();
            if (!head.bytes.isEmpty() || head.end) {
                Taken taken;
                taken.sequence = m_head;
                taken.bytes.swap(head.bytes);
                m_bufferedBytes -= taken.bytes.size();
                if (head.end) {
                    taken.end = std::move(head.end);
                    m_entries.pop_front();
                    ++m_head;
                }
                m_workers.notify_all();
                return taken;
            }
        }
        if (!waitedBefore && beforeWaiting) {
            waitedBefore = true;
            lock.unlock();
            beforeWaiting();
            lock.lock();
            continue;
        }
        m_writer.wait(lock);
    }
}

void OrderedResults::stop()
{
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    m_workers.notify_all();
    m_writer.notify_all();
}

} // namespace convert
