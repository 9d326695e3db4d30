// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "WordPrefixTree.h"

#include <QSet>
#include <QString>
#include <QStringView>

namespace engine {

// The dictionary words, each stored lower-cased by whoever adds it. Membership
// is an exact, case-sensitive comparison. The words are also kept as a prefix
// tree, which answers membership without building a string and lets the
// mnemonic search follow a word unit by unit.
class WordStore
{
public:
    // Adds a word; a word already present is a Failure.
    void add(const QString &word);
    bool contains(QStringView word) const { return m_tree.contains(word); }
    qsizetype size() const { return m_words.size(); }
    bool isEmpty() const { return m_words.isEmpty(); }
    const QSet<QString> &words() const { return m_words; }
    const WordPrefixTree &prefixTree() const { return m_tree; }

private:
    QSet<QString> m_words;
    WordPrefixTree m_tree;
};

} // namespace engine
