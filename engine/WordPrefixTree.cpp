// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "WordPrefixTree.h"

#include <algorithm>

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
    const auto length = quint32(std::min<qsizetype>(word.size(), 0xffffffffu));
    Node node = Root;
    quint32 depth = 0;
    for (const QChar c : word) {
        NodeInfo &info = m_nodes[node];
        info.longestBelow = std::max(info.longestBelow, length - depth);
        Node next = child(node, c.unicode());
        if (next == NoNode) {
            if (2 * (m_edges + 1) > qsizetype(m_slots.size()))
                grow();
            next = Node(m_nodes.size());
            m_nodes.emplace_back();
            const quint64 key = edgeKey(node, c.unicode());
            quint64 slot = slotOf(key);
            while (m_slots[slot].key != EmptyKey)
                slot = (slot + 1) & m_mask;
            m_slots[slot] = Slot{key, next};
            ++m_edges;
            m_units[c.unicode() >> 6] |= quint64(1) << (c.unicode() & 63);
        }
        node = next;
        ++depth;
    }
    NodeInfo &last = m_nodes[node];
    if (last.word)
        return false;
    last.word = true;
    last.commonness = commonness;
    return true;
}

void WordPrefixTree::grow()
{
    std::vector<Slot> slots(m_slots.size() * 2);
    m_mask = slots.size() - 1;
    --m_shift;
    for (const Slot &old : m_slots) {
        if (old.key == EmptyKey)
            continue;
        quint64 slot = slotOf(old.key);
        while (slots[slot].key != EmptyKey)
            slot = (slot + 1) & m_mask;
        slots[slot] = old;
    }
    m_slots.swap(slots);
}

} // namespace engine
