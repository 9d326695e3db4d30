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
    , m_lastPath(1, Root)
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
    qsizetype shared = 0;
    const qsizetype known = std::min<qsizetype>(word.size(), qsizetype(m_lastWord.size()));
    while (shared < known && word[shared].unicode() == m_lastWord[shared])
        ++shared;
    m_lastWord.resize(shared);
    m_lastPath.resize(shared + 1);
    for (qsizetype depth = 0; depth < shared; ++depth)
        raiseLongestBelow(m_lastPath[depth], word.size() - depth);
    Node node = m_lastPath.back();
    bool fresh = false; // a node made here has no children yet
    for (qsizetype depth = shared; depth < word.size(); ++depth) {
        const char16_t unit = word[depth].unicode();
        raiseLongestBelow(node, word.size() - depth);
        Node next = fresh ? NoNode : child(node, unit);
        if (next == NoNode) {
            fresh = true;
            if (2 * (m_edges + 1) > qsizetype(m_slots.size()))
                rehash(m_slots.size() * 2);
            if (m_nodes.size() >= TargetMask)
                throw core::Failure(u"The dictionary has too many words"_s);
            next = Node(m_nodes.size());
            m_nodes.emplace_back();
            const quint64 key = edgeKey(node, unit);
            quint64 slot = slotOf(key);
            while (m_slots[slot] != EmptySlot)
                slot = (slot + 1) & m_mask;
            m_slots[slot] = key << TargetBits | next;
            ++m_edges;
            if (unit >= 0x80 && !holdsUnit(unit))
                ++m_unitsBeyondAscii;
            m_units[unit >> 6] |= quint64(1) << (unit & 63);
        }
        node = next;
        m_lastWord.push_back(unit);
        m_lastPath.push_back(node);
    }
    quint16 &bits = m_nodes[node].bits;
    if (bits & WordBit)
        return false;
    bits |= WordBit;
    m_nodes[node].commonness = commonness;
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

std::vector<char16_t> WordPrefixTree::heldUnitsBeyondAscii() const
{
    std::vector<char16_t> units;
    if (m_unitsBeyondAscii == 0)
        return units;
    for (std::size_t block = 0x80 / 64; block < m_units.size(); ++block) {
        for (quint64 bits = m_units[block]; bits != 0; bits &= bits - 1)
            units.push_back(char16_t(block * 64 + std::size_t(std::countr_zero(bits))));
    }
    return units;
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
        if (m_nodes[node].bits & WordBit)
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
    std::vector<quint64, HugePageAllocator<quint64>> slots(size, EmptySlot);
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
