// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/WordPrefixTree.h"

#include <QSet>
#include <QString>
#include <QStringView>

namespace engine {

// The dictionary words, each stored lower-cased by whoever adds it. Membership
// is an exact, case-sensitive comparison. The words are also kept as a prefix
// tree, which answers membership without building a string and lets the
// mnemonic search follow a word unit by unit.
//
// Each word may carry a commonness level: the size of the smallest word list
// that holds it (10 for the most common words, then 20, 35 ...), 0 when the
// dictionary does not say. Ranking treats words of level 0 as common ones.
class WordStore
{
public:
    static constexpr int MaxCommonness = 0xffff;

    // Adds a word and its commonness level (clamped to 0..MaxCommonness); a
    // word already present is a Failure.
    void add(QStringView word, int commonness = 0);
    // Adds the words of a long list one after another: a word already
    // present is passed over (false) rather than a Failure, and a word that
    // begins as the word before it does (as in a sorted list) costs less.
    class BulkAdder
    {
    public:
        explicit BulkAdder(WordStore &store)
            : m_store(store)
        {}
        bool add(QStringView word, int commonness = 0);

    private:
        WordStore &m_store;
        WordPrefixTree::InsertPath m_path;
    };

    // Makes room for about this many words more.
    void reserve(qsizetype words);
    bool contains(QStringView word) const { return m_tree.contains(word); }
    // The level of a word, 0 when it has none or is not a word.
    int commonness(QStringView word) const
    {
        const WordPrefixTree::Node node = m_tree.find(word);
        return m_tree.isWord(node) ? m_tree.commonness(node) : 0;
    }
    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // Every word (slow: for tests and tools).
    QSet<QString> words() const;
    const WordPrefixTree &prefixTree() const { return m_tree; }

private:
    qsizetype m_size = 0;
    WordPrefixTree m_tree;
};

} // namespace engine
