// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/HugePageAllocator.h"

#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <vector>

namespace engine {

// The words of a WordStore as a tree of their UTF-16 units, for walking a
// text one unit at a time: the mnemonic search follows every piece it might
// cut while it builds a reading, and drops the pieces that no word continues.
// The edges live in one open-addressing hash table keyed by (node, unit), an
// edge in 64 bits: the parent node plus one (24 bits, 0 in an empty slot),
// the unit (16 bits) and the child node (24 bits). So a tree holds at most
// 2^24 - 2 nodes (millions of words: Debian's Polish list of 4.3 million
// takes 7.2 million); adding more is a Failure. A node's own facts take four
// bytes.
//
// Adding millions of words one edge at a time would miss the cache at each
// new edge (it lands at a random slot). So a dictionary being loaded is
// added in bulk: the words go into lists of each node's children, which
// nearly sorted words extend close to where the word before ended, and the
// table is laid out once at the end, a region at a time.
class WordPrefixTree
{
public:
    using Node = quint32;
    static constexpr Node NoNode = 0xffffffffu;
    static constexpr Node Root = 0;

    WordPrefixTree();

    // Makes room for this many edges (one per unit of a word that no word
    // added before shares as a prefix) without growing on the way.
    void reserve(qsizetype edges);

    // Until finishBulkAdd, words are added to lists of children and no
    // lookup may be made; `expectedNodes` (an estimate, at most the number of
    // units of the words to come) sizes those lists once.
    void beginBulkAdd(qsizetype expectedNodes);
    // Lays out the edge table for lookups again.
    void finishBulkAdd();
    bool isBulkAdding() const { return !m_childLists.firstChild.empty(); }

    struct Insertion
    {
        Node node;  // where the word ends
        bool added; // false when it was present already
    };
    // Adds a word with its commonness level (see WordStore). Word lists come
    // sorted: the path of the word added before is followed without lookups
    // as far as both words agree.
    Insertion insert(QStringView word, quint16 commonness = 0);
    bool contains(QStringView word) const { return isWord(find(word)); }
    // The node a text leads to from the root, or NoNode.
    Node find(QStringView text) const;

    // The node reached from `node` by `unit`, or NoNode.
    Node child(Node node, char16_t unit) const
    {
        if (!holdsUnit(unit))
            return NoNode; // no word holds the unit: spares the hash for digits
        const quint64 key = edgeKey(node, unit);
        for (quint64 slot = slotOf(key);; slot = (slot + 1) & m_mask) {
            const quint64 stored = m_slots[slot];
            if (stored >> TargetBits == key)
                return Node(stored & TargetMask);
            if (stored == EmptySlot)
                return NoNode;
        }
    }
    // Whether the path to `node` spells a whole word (false for NoNode).
    bool isWord(Node node) const { return node != NoNode && (m_nodes[node].bits & WordBit); }
    // The commonness level of the word that ends at `node`.
    quint16 commonness(Node node) const { return m_nodes[node].commonness; }
    // The length of the longest word through `node`, counted from `node` on,
    // up to 32,767 (no piece of a number is longer).
    qsizetype longestBelow(Node node) const { return m_nodes[node].bits & MostLongest; }

    qsizetype edgeCount() const { return m_edges; }
    // Whether some word holds the unit.
    bool holdsUnit(char16_t unit) const { return m_units[unit >> 6] & (quint64(1) << (unit & 63)); }
    // Every unit beyond ASCII that some word holds, ascending.
    std::vector<char16_t> heldUnitsBeyondAscii() const;

    // Every word, in no particular order (slow: for tests and tools).
    QStringList words() const;

private:
    static constexpr int TargetBits = 24;
    static constexpr quint64 TargetMask = (quint64(1) << TargetBits) - 1;
    static constexpr quint64 EmptySlot = 0;

    static constexpr quint16 WordBit = 0x8000;
    static constexpr quint16 MostLongest = 0x7fff;

    struct NodeInfo
    {
        quint16 commonness = 0;
        quint16 bits = 0; // WordBit and the longest word below
    };

    static quint64 edgeKey(Node node, char16_t unit) { return (quint64(node + 1) << 16) | unit; }
    quint64 slotOf(quint64 key) const { return (key * Q_UINT64_C(0x9E3779B97F4A7C15)) >> m_shift; }
    void rehash(std::size_t slots);
    void setTableSize(std::size_t slots);
    // The child of `node` by `unit`, in whichever form the edges are now.
    Node childWhileAdding(Node node, char16_t unit) const;
    Node addChild(Node node, char16_t unit);
    // Puts an edge into the table at the first free slot from its own.
    void place(quint64 edge)
    {
        quint64 slot = slotOf(edge >> TargetBits);
        while (m_slots[slot] != EmptySlot)
            slot = (slot + 1) & m_mask;
        m_slots[slot] = edge;
    }
    void layOutTable();
    void raiseLongestBelow(Node node, qsizetype length)
    {
        quint16 &bits = m_nodes[node].bits;
        const auto longest = quint16(std::min<qsizetype>(length, MostLongest));
        if ((bits & MostLongest) < longest)
            bits = quint16((bits & WordBit) | longest);
    }

    std::vector<NodeInfo, HugePageAllocator<NodeInfo>> m_nodes;
    std::vector<quint64> m_units; // a bit per UTF-16 unit that some word holds
    std::vector<quint64, HugePageAllocator<quint64>>
        m_slots; // the edges (key and child side by side)
    quint64 m_mask = 0;
    int m_shift = 0;
    qsizetype m_edges = 0;
    qsizetype m_unitsBeyondAscii = 0; // of those in m_units
    // While adding in bulk, the edges as lists, and m_slots empty; empty
    // otherwise, when m_slots holds the edges.
    struct ChildLists
    {
        // Each node's first child and next sibling (0 for none: the root is
        // no node's child), and the unit of the edge into it. Siblings run
        // from the highest unit down.
        void link(Node parent, Node child, char16_t unit);
        std::vector<Node, HugePageAllocator<Node>> firstChild;
        std::vector<Node, HugePageAllocator<Node>> nextSibling;
        std::vector<char16_t, HugePageAllocator<char16_t>> unitInto;
    };
    ChildLists m_childLists;
    // The word added last, and the node after each of its units (the root
    // first).
    std::vector<char16_t> m_lastWord;
    std::vector<Node> m_lastPath;
};

} // namespace engine
