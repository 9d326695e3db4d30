// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordStore.h"

#include "core/Failure.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace engine {

void WordStore::add(QStringView word, int commonness)
{
    if (!m_tree.insert(word, quint16(std::clamp(commonness, 0, MaxCommonness))))
        throw core::Failure(u"This key is already associated with an element of this collection"_s);
    ++m_size;
}

bool WordStore::BulkAdder::add(QStringView word, int commonness)
{
    if (!m_store.m_tree.insert(word, quint16(std::clamp(commonness, 0, MaxCommonness)), m_path))
        return false;
    ++m_store.m_size;
    return true;
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

} // namespace engine
