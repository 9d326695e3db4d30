// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/MnemonicSearch.h"

namespace engine {

MnemonicSearch::MnemonicSearch(const WordStore &words)
    : m_walk(words)
{}

void MnemonicSearch::start(const QStringList &choices, bool keepMixed, bool keepWordsOnly)
{
    m_walk.start(choices, keepMixed, keepWordsOnly);
    m_prefixCuts.reset(m_walk.size());
    m_readingCuts.reset(m_walk.size());
    m_source = CutSource::None;
}

void MnemonicSearch::prepareCuts()
{
    m_source = CutSource::None;
    if (!m_walk.atReading())
        return;
    if (m_prefixCuts.prepare(m_walk)) {
        m_source = CutSource::Prefix;
    } else {
        m_readingCuts.prepare(m_walk);
        m_source = CutSource::Reading;
    }
}

} // namespace engine
