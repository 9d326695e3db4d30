// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordPrefixTree.h"

#include "core/Failure.h"

#include <algorithm>
#include <bit>

using namespace Qt::Literals::StringLiterals;

namespace engine {

namespace {
constexpr int InitialBits = 10;
}

WordPrefixTree::WordPrefixTree()
    : m_nodes(1)
    , m_units(65536 / 64, 0)
    , m_slots(quint64(1) << InitialBits)
    , m_mask((quint64(1) << InitialBits) - 1)
    , m_shift(64 - InitialBits)
{}

WordPrefixTree::Node WordPrefixTree::find(QStringView text) const
{
    Node node = Root;
    for (const QChar c : text) {
        node = child(node, c.unicode());
        if (node == NoNode)
            break;
    }
    return node;
}

bool WordPrefixTree::insert(QStringView word, quint16 commonness)
{
    return insertBelow(word, 0, Root, commonness, nullptr);
}

bool WordPrefixTree::insert(QStringView word, quint16 commonness, InsertPath &path)
{
    const std::u16string_view units(reinterpret_cast<const char16_t *>(word.utf16()),
                                    std::size_t(word.size()));
    // The units shared with the word before lead to known nodes.
    std::size_t shared = 0;
    while (shared < units.size() && shared < path.units.size()
           && units[shared] == path.units[shared])
        ++shared;
    const auto length = quint32(std::min<qsizetype>(word.size(), 0xffffffffu));
    for (std::size_t depth = 0; depth < shared; ++depth) {
        NodeInfo &info = m_nodes[path.nodes[depth]];
        info.longestBelow = std::max(info.longestBelow, length - quint32(depth));
    }
    // Consistent also when the insert below fails half way.
    path.units.resize(shared);
    path.nodes.resize(shared + 1);
    const bool added =
        insertBelow(word, qsizetype(shared), path.nodes.back(), commonness, &path.nodes);
    path.units.assign(units);
    return added;
}

bool WordPrefixTree::insertBelow(
    QStringView word, qsizetype from, Node node, quint16 commonness, std::vector<Node> *nodes)
{
    const auto length = quint32(std::min<qsizetype>(word.size(), 0xffffffffu));
    quint32 depth = quint32(from);
    for (const QChar c : word.sliced(from)) {
        NodeInfo &info = m_nodes[node];
        info.longestBelow = std::max(info.longestBelow, length - depth);
        Node next = child(node, c.unicode());
        if (next == NoNode) {
            if (2 * (m_edges + 1) > qsizetype(m_slots.size()))
                rehash(m_slots.size() * 2);
            if (m_nodes.size() >= TargetMask)
                throw core::Failure(u"The dictionary has too many words"_s);
            next = Node(m_nodes.size());
            m_nodes.emplace_back();
            const quint64 key = edgeKey(node, c.unicode());
            quint64 slot = slotOf(key);
            while (m_slots[slot] != EmptySlot)
                slot = (slot + 1) & m_mask;
            m_slots[slot] = key << TargetBits | next;
            ++m_edges;
            m_units[c.unicode() >> 6] |= quint64(1) << (c.unicode() & 63);
        }
        node = next;
        if (nodes)
            nodes->push_back(node);
        ++depth;
    }
    NodeInfo &last = m_nodes[node];
    if (last.word)
        return false;
    last.word = true;
    last.commonness = commonness;
    return true;
}

void WordPrefixTree::reserve(qsizetype edges)
{
    std::size_t slots = m_slots.size();
    while (qsizetype(slots) < 2 * edges)
        slots *= 2;
    if (slots > m_slots.size())
        rehash(slots);
    m_nodes.reserve(std::size_t(std::max<qsizetype>(edges + 1, 0)));
}

QStringList WordPrefixTree::words() const
{
    // The edges by their parent, then a depth-first walk from the root.
    std::vector<std::vector<std::pair<char16_t, Node>>> children(m_nodes.size());
    for (const quint64 slot : m_slots) {
        if (slot != EmptySlot)
            children[(slot >> (TargetBits + 16)) - 1].emplace_back(char16_t(slot >> TargetBits),
                                                                   Node(slot & TargetMask));
    }
    QStringList words;
    QString path;
    const auto walk = [&](const auto &self, Node node) -> void {
        if (m_nodes[node].word)
            words.append(path);
        for (const auto &[unit, child] : children[node]) {
            path.append(QChar(unit));
            self(self, child);
            path.chop(1);
        }
    };
    walk(walk, Root);
    return words;
}

void WordPrefixTree::rehash(std::size_t size)
{
    std::vector<quint64> slots(size, EmptySlot);
    m_mask = slots.size() - 1;
    m_shift = 64 - std::countr_zero(size);
    for (const quint64 old : m_slots) {
        if (old == EmptySlot)
            continue;
        quint64 slot = slotOf(old >> TargetBits);
        while (slots[slot] != EmptySlot)
            slot = (slot + 1) & m_mask;
        slots[slot] = old;
    }
    m_slots.swap(slots);
}

} // namespace engine
