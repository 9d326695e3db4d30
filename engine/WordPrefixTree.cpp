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
    Q_ASSERT(!isBulkAdding());
    Node node = Root;
    for (const QChar c : text) {
        node = child(node, c.unicode());
        if (node == NoNode)
            break;
    }
    return node;
}

WordPrefixTree::Insertion WordPrefixTree::insert(QStringView word, quint16 commonness)
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
        Node next = fresh ? NoNode : childWhileAdding(node, unit);
        if (next == NoNode) {
            fresh = true;
            next = addChild(node, unit);
        }
        node = next;
        m_lastWord.push_back(unit);
        m_lastPath.push_back(node);
    }
    quint16 &bits = m_nodes[node].bits;
    if (bits & WordBit)
        return {node, false};
    bits |= WordBit;
    m_nodes[node].commonness = commonness;
    return {node, true};
}

WordPrefixTree::Node WordPrefixTree::childWhileAdding(Node node, char16_t unit) const
{
    if (!isBulkAdding())
        return child(node, unit);
    if (!holdsUnit(unit))
        return NoNode;
    // Siblings run from the highest unit down: for sorted words the search
    // ends at the first child, the one the word before went on to.
    const ChildLists &lists = m_childLists;
    for (Node c = lists.firstChild[node]; c != 0 && lists.unitInto[c] >= unit;
         c = lists.nextSibling[c]) {
        if (lists.unitInto[c] == unit)
            return c;
    }
    return NoNode;
}

void WordPrefixTree::ChildLists::link(Node parent, Node child, char16_t unit)
{
    unitInto[child] = unit;
    Node *at = &firstChild[parent];
    while (*at != 0 && unitInto[*at] > unit)
        at = &nextSibling[*at];
    nextSibling[child] = *at;
    *at = child;
}

WordPrefixTree::Node WordPrefixTree::addChild(Node node, char16_t unit)
{
    if (m_nodes.size() >= TargetMask)
        throw core::Failure(u"The dictionary has too many words"_s);
    const Node next = Node(m_nodes.size());
    if (isBulkAdding()) {
        ChildLists &lists = m_childLists;
        lists.firstChild.push_back(0);
        lists.nextSibling.push_back(0);
        lists.unitInto.push_back(unit);
        lists.link(node, next, unit);
    } else {
        if (2 * (m_edges + 1) > qsizetype(m_slots.size()))
            rehash(m_slots.size() * 2);
        place(edgeKey(node, unit) << TargetBits | next);
    }
    m_nodes.emplace_back();
    ++m_edges;
    if (unit >= 0x80 && !holdsUnit(unit))
        ++m_unitsBeyondAscii;
    m_units[unit >> 6] |= quint64(1) << (unit & 63);
    return next;
}

void WordPrefixTree::reserve(qsizetype edges)
{
    const auto nodes = std::size_t(std::clamp<qsizetype>(edges + 1, 1, TargetMask));
    m_nodes.reserve(nodes);
    if (isBulkAdding()) {
        m_childLists.firstChild.reserve(nodes);
        m_childLists.nextSibling.reserve(nodes);
        m_childLists.unitInto.reserve(nodes);
        return;
    }
    std::size_t slots = m_slots.size();
    while (qsizetype(slots) < 2 * edges)
        slots *= 2;
    if (slots > m_slots.size())
        rehash(slots);
}

void WordPrefixTree::beginBulkAdd(qsizetype expectedNodes)
{
    if (!isBulkAdding()) {
        // The edges so far into the lists; the table is laid out anew at
        // the end.
        ChildLists &lists = m_childLists;
        lists.firstChild.assign(m_nodes.size(), 0);
        lists.nextSibling.assign(m_nodes.size(), 0);
        lists.unitInto.assign(m_nodes.size(), 0);
        for (const quint64 edge : m_slots) {
            if (edge == EmptySlot)
                continue;
            lists.link(Node(edge >> (TargetBits + 16)) - 1,
                       Node(edge & TargetMask),
                       char16_t(edge >> TargetBits));
        }
        decltype(m_slots)().swap(m_slots);
    }
    reserve(std::max<qsizetype>(expectedNodes, m_edges));
}

void WordPrefixTree::finishBulkAdd()
{
    if (!isBulkAdding())
        return;
    layOutTable();
}

void WordPrefixTree::layOutTable()
{
    // The edges are sorted by the region of the table they belong in (its
    // first bits of their slot) and then put into the table region by
    // region, so that the probes stay within a few hundred kilobytes.
    std::size_t size = std::size_t(1) << InitialBits;
    while (size < 2 * std::size_t(m_edges))
        size *= 2;
    setTableSize(size);
    const int tableBits = std::countr_zero(size);
    const int regionBits = std::clamp(tableBits - 13, 0, 12);
    const int regionShift = tableBits - regionBits;
    const ChildLists &lists = m_childLists;
    const auto forEachEdge = [&](auto take) {
        const Node nodes = Node(m_nodes.size());
        for (Node parent = 0; parent < nodes; ++parent) {
            for (Node c = lists.firstChild[parent]; c != 0; c = lists.nextSibling[c])
                take(edgeKey(parent, lists.unitInto[c]) << TargetBits | c);
        }
    };
    std::vector<std::size_t> regionStart((std::size_t(1) << regionBits) + 1, 0);
    forEachEdge([&](quint64 edge) {
        ++regionStart[(slotOf(edge >> TargetBits) >> regionShift) + 1];
    });
    for (std::size_t region = 1; region < regionStart.size(); ++region)
        regionStart[region] += regionStart[region - 1];
    std::vector<quint64, HugePageAllocator<quint64>> sorted(static_cast<std::size_t>(m_edges));
    forEachEdge([&](quint64 edge) {
        sorted[regionStart[slotOf(edge >> TargetBits) >> regionShift]++] = edge;
    });
    m_childLists = ChildLists();
    m_slots.assign(size, EmptySlot);
    for (const quint64 edge : sorted)
        place(edge);
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
    Q_ASSERT(!isBulkAdding());
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

void WordPrefixTree::setTableSize(std::size_t size)
{
    m_mask = size - 1;
    m_shift = 64 - std::countr_zero(size);
}

void WordPrefixTree::rehash(std::size_t size)
{
    std::vector<quint64, HugePageAllocator<quint64>> old(size, EmptySlot);
    old.swap(m_slots);
    setTableSize(size);
    for (const quint64 edge : old) {
        if (edge != EmptySlot)
            place(edge);
    }
}

} // namespace engine
