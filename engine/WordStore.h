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
// Only words a keypad can spell are kept: every character beyond ASCII must
// be a letter on a key (KeypadTables.h). Other words (Hebrew or CJK letters,
// symbols, combining marks, broken UTF-16) are unusable: counted, not kept.
// Letters are held as keypad::lookupUnit gives them (the final ς as σ), and
// looked up the same way.
//
// Each word may carry a commonness level: the size of the smallest word list
// that holds it (10 for the most common words, then 20, 35 ...), 0 when the
// dictionary does not say. Ranking treats words of level 0 as common ones.
class WordStore
{
public:
    static constexpr int MaxCommonness = 0xffff;

    // Whether a keypad can spell the word.
    static bool isUsable(QStringView word);

    enum class Added { Yes, AlreadyPresent, Unusable };
    // Adds a word and its commonness level (clamped to 0..MaxCommonness); an
    // unusable word is only counted, a word already present left as it is.
    Added tryAdd(QStringView word, int commonness = 0);
    // The same, but a word already present is a Failure.
    void add(QStringView word, int commonness = 0);
    // Makes room for about this many words more.
    void reserve(qsizetype words);
    bool contains(QStringView word) const { return m_tree.isWord(find(word)); }
    // The level of a word, 0 when it has none or is not a word.
    int commonness(QStringView word) const
    {
        const WordPrefixTree::Node node = find(word);
        return m_tree.isWord(node) ? m_tree.commonness(node) : 0;
    }
    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    // The unusable words offered to add() (each time one was offered).
    qsizetype unusableCount() const { return m_unusable; }
    // Every word, as held (slow: for tests and tools).
    QSet<QString> words() const;
    const WordPrefixTree &prefixTree() const { return m_tree; }

private:
    WordPrefixTree::Node find(QStringView word) const;

    qsizetype m_size = 0;
    qsizetype m_unusable = 0;
    WordPrefixTree m_tree;
};

} // namespace engine
