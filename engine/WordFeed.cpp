// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordFeed.h"

#include "core/Failure.h"

#include <algorithm>

namespace engine {

void WordFeed::Batch::clear()
{
    units.clear();
    ends.clear();
    commonness.clear();
    offensive.clear();
    tags.clear();
}

WordFeed::WordFeed(WordStore &store, qsizetype expectedWords, Repeats repeats, qsizetype workerFrom)
    : m_store(store)
    , m_repeats(repeats)
{
    // Dictionary words are rarely longer than eight units on average.
    m_bulk.emplace(store, 8 * expectedWords);
    if (expectedWords >= workerFrom)
        m_worker = std::thread([this] {
            work();
        });
}

WordFeed::~WordFeed()
{
    if (m_finished)
        return;
    m_stopped = true;
    closeAndWait();
}

bool WordFeed::add(QStringView word, int commonness, int offensive, qint64 tag)
{
    if (m_stopped)
        return false;
    if (!m_worker.joinable()) {
        try {
            addWord(word, commonness, offensive, tag);
        } catch (...) {
            m_failure = std::current_exception();
            m_stopped = true;
            return false;
        }
        return true;
    }
    const auto *units = reinterpret_cast<const char16_t *>(word.data());
    m_filling.units.insert(m_filling.units.end(), units, units + word.size());
    m_filling.ends.push_back(quint32(m_filling.units.size()));
    m_filling.commonness.push_back(
        quint16(std::clamp(commonness, 0, int(WordStore::MaxCommonness))));
    m_filling.offensive.push_back(quint8(std::clamp(offensive, 0, int(WordStore::MaxOffensive))));
    m_filling.tags.push_back(tag);
    if (m_filling.isFull())
        handOver();
    return true;
}

void WordFeed::finish()
{
    if (m_finished)
        return;
    if (m_worker.joinable() && !m_filling.ends.empty())
        handOver();
    closeAndWait();
    m_finished = true;
    m_bulk.reset(); // lays the tree out, also for the words before a failure
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void WordFeed::handOver()
{
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] {
            return m_queue.size() < MostQueued;
        });
        m_queue.push_back(std::move(m_filling));
        m_filling = Batch();
        if (!m_spare.empty()) {
            m_filling = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    m_changed.notify_all();
}

void WordFeed::closeAndWait()
{
    if (!m_worker.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    m_worker.join();
}

void WordFeed::work()
{
    for (;;) {
        Batch batch;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] {
                return !m_queue.empty() || m_closed;
            });
            if (m_queue.empty())
                return;
            batch = std::move(m_queue.front());
            m_queue.pop_front();
        }
        m_changed.notify_all();
        // After a failure the words still queued are dropped.
        if (!m_stopped) {
            try {
                addBatch(batch);
            } catch (...) {
                m_failure = std::current_exception();
                m_stopped = true;
            }
        }
        batch.clear();
        std::lock_guard lock(m_mutex);
        m_spare.push_back(std::move(batch));
    }
}

void WordFeed::addWord(QStringView word, int commonness, int offensive, qint64 tag)
{
    m_failedTag = tag;
    const WordStore::Added added = m_store.tryAdd(word, commonness, offensive);
    if (added == WordStore::Added::AlreadyPresent && m_repeats == Repeats::Fail)
        throw core::Failure(WordStore::alreadyPresent());
    m_failedTag = 0;
    m_added += added == WordStore::Added::Yes ? 1 : 0;
}

void WordFeed::addBatch(const Batch &batch)
{
    quint32 begin = 0;
    for (std::size_t i = 0; i < batch.ends.size(); ++i) {
        const quint32 end = batch.ends[i];
        addWord(QStringView(batch.units.data() + begin, qsizetype(end - begin)),
                batch.commonness[i],
                batch.offensive[i],
                batch.tags[i]);
        begin = end;
    }
}

} // namespace engine
