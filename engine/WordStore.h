// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/WordPrefixTree.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <vector>

namespace engine {

// The dictionary words, each stored lower-cased by whoever adds it. Membership
// is an exact, case-sensitive comparison. The words are also kept as a prefix
// tree, which answers membership without building a string and lets the
// mnemonic search follow a word unit by unit.
//
// Only words a keypad can spell are kept: every character beyond ASCII must
// be a letter on a key (KeypadTables.h). Other words (Hebrew or CJK letters,
// symbols, combining marks, broken UTF-16) are unusable: counted, not kept.
// Letters are held as keypad::lookupUnit gives them (the final ς as σ), and
// looked up the same way.
//
// Each word may carry a commonness level: the size of the smallest word list
// that holds it (10 for the most common words, then 20, 35 ...), 0 when the
// dictionary does not say. Ranking treats words of level 0 as common ones.
// And each word may carry how offensive it is: 0 not (or not said), 1 maybe,
// 2 likely; two bits a word, held only once some word is rated.
class WordStore
{
public:
    static constexpr int MaxCommonness = 0xffff;
    static constexpr int MaxOffensive = 2;

    // Whether a keypad can spell the word.
    static bool isUsable(QStringView word);

    enum class Added { Yes, AlreadyPresent, Unusable };
    // Adds a word, its commonness level (clamped to 0..MaxCommonness) and
    // how offensive it is (clamped to 0..MaxOffensive); an unusable word is
    // only counted, a word already present left as it is.
    Added tryAdd(QStringView word, int commonness = 0, int offensive = 0);
    // The same, but a word already present is a Failure with this text.
    void add(QStringView word, int commonness = 0, int offensive = 0);
    static QString alreadyPresent();
    // Makes room for about this many words more.
    void reserve(qsizetype words);

    // Adding a dictionary's words: while a BulkAdding lives, words are added
    // several times faster (nearly sorted words fastest) and none may be
    // looked up. `expectedUnits` is an estimate of the UTF-16 units of the
    // words to come (more costs only address space).
    class BulkAdding
    {
    public:
        BulkAdding(WordStore &store, qsizetype expectedUnits);
        ~BulkAdding() { finish(); }
        BulkAdding(const BulkAdding &) = delete;
        BulkAdding &operator=(const BulkAdding &) = delete;
        // Makes the words ready for lookups (the destructor does it too).
        void finish() { m_store.m_tree.finishBulkAdd(); }

    private:
        WordStore &m_store;
    };
    bool contains(QStringView word) const { return m_tree.isWord(find(word)); }
    // The level of a word, 0 when it has none or is not a word.
    int commonness(QStringView word) const
    {
        const WordPrefixTree::Node node = find(word);
        return m_tree.isWord(node) ? m_tree.commonness(node) : 0;
    }
    // How offensive a word is, 0 when it is rated so, not rated or not a word.
    int offensive(QStringView word) const { return offensiveAt(find(word)); }
    // The same for the node a word ends at (WordPrefixTree::NoNode: 0).
    int offensiveAt(WordPrefixTree::Node node) const
    {
        const std::size_t slot = std::size_t(node) / 32;
        if (node == WordPrefixTree::NoNode || slot >= m_offensive.size())
            return 0;
        return int(m_offensive[slot] >> (2 * (node % 32)) & 3);
    }
    // Whether some word is rated 1 or more.
    bool hasOffensiveWords() const { return !m_offensive.empty(); }
    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // The unusable words offered to add() (each time one was offered).
    qsizetype unusableCount() const { return m_unusable; }
    // Every word, as held (slow: for tests and tools).
    QSet<QString> words() const;
    const WordPrefixTree &prefixTree() const { return m_tree; }

    // The node a word (lower-cased by the caller) ends at, or NoNode.
    WordPrefixTree::Node find(QStringView word) const;

private:
    void setOffensive(WordPrefixTree::Node node, int offensive);

    qsizetype m_size = 0;
    qsizetype m_unusable = 0;
    WordPrefixTree m_tree;
    std::vector<quint64> m_offensive; // two bits per node of the tree, 32 nodes a slot
};

} // namespace engine
