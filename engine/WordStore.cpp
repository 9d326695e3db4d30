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

WordStore::Added WordStore::tryAdd(QStringView word, int commonness, int offensive)
{
    if (!isUsable(word)) {
        ++m_unusable;
        return Added::Unusable;
    }
    const quint16 level = quint16(std::clamp(commonness, 0, MaxCommonness));
    const bool asLookedUp = std::all_of(word.begin(), word.end(), [](QChar c) {
        return keypad::lookupUnit(c.unicode()) == c.unicode();
    });
    WordPrefixTree::Insertion insertion{};
    if (asLookedUp) {
        insertion = m_tree.insert(word, level);
    } else {
        QString held = word.toString();
        for (QChar &c : held)
            c = QChar(keypad::lookupUnit(c.unicode()));
        insertion = m_tree.insert(held, level);
    }
    if (!insertion.added)
        return Added::AlreadyPresent;
    ++m_size;
    if (offensive > 0)
        setOffensive(insertion.node, std::min(offensive, MaxOffensive));
    return Added::Yes;
}

void WordStore::setOffensive(WordPrefixTree::Node node, int offensive)
{
    const std::size_t slot = std::size_t(node) / 32;
    if (slot >= m_offensive.size())
        m_offensive.resize(std::max(slot + 1, std::size_t(m_tree.edgeCount() + 1) / 32 + 1), 0);
    const int shift = 2 * int(node % 32);
    m_offensive[slot] = (m_offensive[slot] & ~(quint64(3) << shift)) | quint64(offensive) << shift;
}

QString WordStore::alreadyPresent()
{
    return u"This key is already associated with an element of this collection"_s;
}

void WordStore::add(QStringView word, int commonness, int offensive)
{
    if (tryAdd(word, commonness, offensive) == Added::AlreadyPresent)
        throw core::Failure(alreadyPresent());
}

void WordStore::reserve(qsizetype words)
{
    // English words add about three units of their own each.
    m_tree.reserve(m_tree.edgeCount() + 3 * words);
}

WordStore::BulkAdding::BulkAdding(WordStore &store, qsizetype expectedUnits)
    : m_store(store)
{
    store.m_tree.beginBulkAdd(store.m_tree.edgeCount() + expectedUnits);
}

QSet<QString> WordStore::words() const
{
    const QStringList all = m_tree.words();
    return QSet<QString>(all.begin(), all.end());
}

WordPrefixTree::Node WordStore::find(QStringView word) const
{
    Q_ASSERT(!m_tree.isBulkAdding());
    WordPrefixTree::Node node = WordPrefixTree::Root;
    for (const QChar c : word) {
        node = m_tree.child(node, keypad::lookupUnit(c.unicode()));
        if (node == WordPrefixTree::NoNode)
            break;
    }
    return node;
}

} // namespace engine
