// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "WordStore.h"

#include "Failure.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

void WordStore::add(const QString &word)
{
    if (m_tree.contains(word))
        throw core::Failure(u"This key is already associated with an element of this collection"_s);
    m_words.insert(word);
    m_tree.insert(word);
}

} // namespace engine
