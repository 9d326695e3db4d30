// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordStore.h"

#include "core/Failure.h"
#include "engine/Keypad.h"
#include "engine/KeypadTables.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace engine {

bool WordStore::isUsable(QStringView word)
{
    return std::all_of(word.begin(), word.end(), [](QChar c) {
        return c.unicode() < 0x80 || keypad::keyOf(c.unicode()) != 0;
    });
}

WordStore::Added WordStore::tryAdd(QStringView word, int commonness)
{
    if (!isUsable(word)) {
        ++m_unusable;
        return Added::Unusable;
    }
    const quint16 level = quint16(std::clamp(commonness, 0, MaxCommonness));
    const bool asLookedUp = std::all_of(word.begin(), word.end(), [](QChar c) {
        return keypad::lookupUnit(c.unicode()) == c.unicode();
    });
    bool added = false;
    if (asLookedUp) {
        added = m_tree.insert(word, level);
    } else {
        QString held = word.toString();
        for (QChar &c : held)
            c = QChar(keypad::lookupUnit(c.unicode()));
        added = m_tree.insert(held, level);
    }
    if (!added)
        return Added::AlreadyPresent;
    ++m_size;
    return Added::Yes;
}

void WordStore::add(QStringView word, int commonness)
{
    if (tryAdd(word, commonness) == Added::AlreadyPresent)
        throw core::Failure(u"This key is already associated with an element of this collection"_s);
}

void WordStore::reserve(qsizetype words)
{
    // English words add about three units of their own each.
    m_tree.reserve(m_tree.edgeCount() + 3 * words);
}

QSet<QString> WordStore::words() const
{
    const QStringList all = m_tree.words();
    return QSet<QString>(all.begin(), all.end());
}

WordPrefixTree::Node WordStore::find(QStringView word) const
{
    WordPrefixTree::Node node = WordPrefixTree::Root;
    for (const QChar c : word) {
        node = m_tree.child(node, keypad::lookupUnit(c.unicode()));
        if (node == WordPrefixTree::NoNode)
            break;
    }
    return node;
}

} // namespace engine
