// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "WordStore.h"

#include "Failure.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace engine {

void WordStore::add(const QString &word, int commonness)
{
    if (!m_tree.insert(word, quint16(std::clamp(commonness, 0, MaxCommonness))))
        throw core::Failure(u"This key is already associated with an element of this collection"_s);
    m_words.insert(word);
}

} // namespace engine
