// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/WordStore.h"

#include <QStringView>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace engine {

// A dictionary's words into a WordStore while the caller reads the next ones:
// for a big dictionary the store is filled on a worker thread, so reading the
// words and building the word tree share the processor's cores; a small one
// is added at once. Words are added in the order given, in bulk
// (WordStore::BulkAdding). A failure to add a word (a store that holds no
// more, or with Repeats::Fail a word already present, as WordStore::add)
// stops the feed: the words before it stay.
class WordFeed
{
public:
    // From this many expected words on, a worker fills the store.
    static constexpr qsizetype WorkerFrom = 100'000;
    enum class Repeats { Fail, Skip };

    WordFeed(WordStore &store,
             qsizetype expectedWords,
             Repeats repeats,
             qsizetype workerFrom = WorkerFrom);
    // Words not added by finish() are dropped.
    ~WordFeed();
    WordFeed(const WordFeed &) = delete;
    WordFeed &operator=(const WordFeed &) = delete;

    // Adds a word (lower-cased by the caller) with its commonness level, how
    // offensive it is and a tag of the caller's (a line number); false once
    // the feed has stopped at a failure, which finish() then throws.
    bool add(QStringView word, int commonness, int offensive, qint64 tag = 0);
    // Waits until every word given is added and makes the store ready for
    // lookups; then throws the failure that stopped the feed, if any.
    void finish();
    // After finish(): the words added (not skipped), and the tag of the word
    // that failed (0 when none did).
    qsizetype added() const { return m_added; }
    qint64 failedTag() const { return m_failedTag; }

private:
    // Words waiting for the worker, one after the other.
    struct Batch
    {
        std::vector<char16_t> units;
        std::vector<quint32> ends; // of each word in units
        std::vector<quint16> commonness;
        std::vector<quint8> offensive;
        std::vector<qint64> tags;
        void clear();
        bool isFull() const { return ends.size() >= 16'384 || units.size() >= 262'144; }
    };
    static constexpr std::size_t MostQueued = 4;

    // Adds one word; throws when it cannot.
    void addWord(QStringView word, int commonness, int offensive, qint64 tag);
    void addBatch(const Batch &batch);
    void work();
    void handOver();
    // No more batches come; waits for the worker to end.
    void closeAndWait();

    WordStore &m_store;
    const Repeats m_repeats;
    // Written by whoever adds the words, read after finish().
    qsizetype m_added = 0;
    qint64 m_failedTag = 0;
    std::optional<WordStore::BulkAdding> m_bulk;
    Batch m_filling;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_queue;  // oldest first
    std::vector<Batch> m_spare; // emptied by the worker, for reuse
    bool m_closed = false;
    bool m_finished = false;
    std::atomic<bool> m_stopped{false};
    std::exception_ptr m_failure; // the worker's, read after it ends
    std::thread m_worker;
};

} // namespace engine
