// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QStringView>

#include <string>
#include <vector>

namespace engine {

// The words of a WordStore as a tree of their UTF-16 units, for walking a
// text one unit at a time: the mnemonic search follows every piece it might
// cut while it builds a reading, and drops the pieces that no word continues.
// The edges live in one open-addressing hash table keyed by (node, unit), an
// edge in 64 bits: the parent node plus one (24 bits, 0 in an empty slot),
// the unit (16 bits) and the child node (24 bits). So a tree holds at most
// 2^24 - 2 nodes (millions of words); adding more is a Failure.
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

    // Adds a word with its commonness level (see WordStore); false when it
    // was present already.
    bool insert(QStringView word, quint16 commonness = 0);

    // The word inserted last through insert(word, commonness, path) and the
    // nodes along it (the root first), so that the next word starts where the
    // two words part: words of a sorted list share most of their beginning
    // with the word before, and those units then cost no lookup.
    struct InsertPath
    {
        std::u16string units;
        std::vector<Node> nodes{Root};
    };
    bool insert(QStringView word, quint16 commonness, InsertPath &path);
    bool contains(QStringView word) const { return isWord(find(word)); }
    // The node a text leads to from the root, or NoNode.
    Node find(QStringView text) const;

    // The node reached from `node` by `unit`, or NoNode.
    Node child(Node node, char16_t unit) const
    {
        if (!(m_units[unit >> 6] & (quint64(1) << (unit & 63))))
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
    bool isWord(Node node) const { return node != NoNode && m_nodes[node].word; }
    // The commonness level of the word that ends at `node`.
    quint16 commonness(Node node) const { return m_nodes[node].commonness; }
    // The length of the longest word through `node`, counted from `node` on.
    qsizetype longestBelow(Node node) const { return m_nodes[node].longestBelow; }

    qsizetype edgeCount() const { return m_edges; }

    // Every word, in no particular order (slow: for tests and tools).
    QStringList words() const;

private:
    static constexpr int TargetBits = 24;
    static constexpr quint64 TargetMask = (quint64(1) << TargetBits) - 1;
    static constexpr quint64 EmptySlot = 0;

    struct NodeInfo
    {
        quint32 longestBelow = 0;
        quint16 commonness = 0;
        bool word = false;
    };

    static quint64 edgeKey(Node node, char16_t unit) { return (quint64(node + 1) << 16) | unit; }
    quint64 slotOf(quint64 key) const { return (key * Q_UINT64_C(0x9E3779B97F4A7C15)) >> m_shift; }
    void rehash(std::size_t slots);
    // Adds the rest of `word` from its unit `from` on, which leads to `node`;
    // appends the nodes it passes to `nodes` when given.
    bool insertBelow(
        QStringView word, qsizetype from, Node node, quint16 commonness, std::vector<Node> *nodes);

    std::vector<NodeInfo> m_nodes;
    std::vector<quint64> m_units; // a bit per UTF-16 unit that some word holds
    std::vector<quint64> m_slots; // the edges (key and child side by side)
    quint64 m_mask = 0;
    int m_shift = 0;
    qsizetype m_edges = 0;
};

} // namespace engine
