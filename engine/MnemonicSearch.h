// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/CutLister.h"
#include "engine/PrefixCutCache.h"
#include "engine/ReadingWalk.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace engine {

class WordStore;

// The fast mnemonic search of one number: the readings that can give result
// lines (ReadingWalk), in the order of the full enumeration, and the cuts of
// each into words and numeric pieces, in the order of the reference search,
// as result lines. The cuts come from the cuts the readings of one prefix
// share (PrefixCutCache) when the prefix has few enough of them, else from
// cutting the reading on its own (CutLister); the lines are the same.
class MnemonicSearch
{
public:
    explicit MnemonicSearch(const WordStore &words);

    static constexpr std::size_t DefaultPrefixCutLimit = PrefixCutCache::DefaultLimit;
    // The most cuts a prefix may have to be shared (tests lower it to compare
    // the two ways).
    void setPrefixCutLimit(std::size_t cuts) { m_prefixCuts.setLimit(cuts); }

    // Starts a number: one choice string per position (DictionaryKeypad).
    // `keepMixed` and `keepWordsOnly` are the "Words and numbers" and "Words
    // only" options.
    void start(const QStringList &choices, bool keepMixed, bool keepWordsOnly);

    // Moves to the next reading that gives lines: see ReadingWalk::next().
    bool next(qint64 &count, const std::function<bool()> &pulse)
    {
        m_source = CutSource::None;
        return m_walk.next(count, pulse);
    }

    // Whether the current reading holds a digit 0-9.
    bool combinationHasDigit() const { return m_walk.hasDigit(); }

    // Prepares the cuts of the current reading; then nextCut() steps through
    // them in order and line() is the current one, its pieces joined by "-"
    // (blanks inside pieces become "-" too, outer blanks are dropped). The
    // caller may change line(); the next cut rebuilds it.
    void prepareCuts();
    bool nextCut()
    {
        switch (m_source) {
        case CutSource::None:
            break;
        case CutSource::Prefix:
            return m_prefixCuts.next(m_line);
        case CutSource::Reading:
            return m_readingCuts.next(m_line);
        }
        return false;
    }
    QString &line() { return m_line; }

private:
    enum class CutSource : quint8 { None, Prefix, Reading };

    ReadingWalk m_walk;
    PrefixCutCache m_prefixCuts;
    CutLister m_readingCuts;
    CutSource m_source = CutSource::None;
    QString m_line;
};

} // namespace engine
