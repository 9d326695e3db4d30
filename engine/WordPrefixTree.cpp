#include "WordPrefixTree.h"

#include <algorithm>

namespace engine {

namespace {
constexpr int InitialBits = 10;
}

WordPrefixTree::WordPrefixTree()
    : m_nodes(1)
    , m_keys(quint64(1) << InitialBits, EmptyKey)
    , m_targets(quint64(1) << InitialBits, NoNode)
    , m_mask((quint64(1) << InitialBits) - 1)
    , m_shift(64 - InitialBits)
{}

bool WordPrefixTree::contains(QStringView word) const
{
    Node node = Root;
    for (const QChar c : word) {
        node = child(node, c.unicode());
        if (node == NoNode)
            return false;
    }
    return isWord(node);
}

bool WordPrefixTree::insert(QStringView word)
{
    const auto length = quint32(std::min<qsizetype>(word.size(), 0xffffffffu));
    Node node = Root;
    quint32 depth = 0;
    for (const QChar c : word) {
        NodeInfo &info = m_nodes[node];
        info.longestBelow = std::max(info.longestBelow, length - depth);
        Node next = child(node, c.unicode());
        if (next == NoNode) {
            if (2 * (m_edges + 1) > qsizetype(m_keys.size()))
                grow();
            next = Node(m_nodes.size());
            m_nodes.emplace_back();
            const quint64 key = edgeKey(node, c.unicode());
            quint64 slot = slotOf(key);
            while (m_keys[slot] != EmptyKey)
                slot = (slot + 1) & m_mask;
            m_keys[slot] = key;
            m_targets[slot] = next;
            ++m_edges;
        }
        node = next;
        ++depth;
    }
    NodeInfo &last = m_nodes[node];
    if (last.word)
        return false;
    last.word = true;
    return true;
}

void WordPrefixTree::grow()
{
    std::vector<quint64> keys(m_keys.size() * 2, EmptyKey);
    std::vector<Node> targets(m_keys.size() * 2, NoNode);
    m_mask = keys.size() - 1;
    --m_shift;
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == EmptyKey)
            continue;
        quint64 slot = slotOf(m_keys[i]);
        while (keys[slot] != EmptyKey)
            slot = (slot + 1) & m_mask;
        keys[slot] = m_keys[i];
        targets[slot] = m_targets[i];
    }
    m_keys.swap(keys);
    m_targets.swap(targets);
}

} // namespace engine
