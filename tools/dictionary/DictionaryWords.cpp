// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/dictionary/DictionaryWords.h"

#include "tools/mkmdb/WordList.h"

#include <algorithm>
#include <limits>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace dictionary {

namespace {

constexpr qsizetype CategoryLength = 50;

QString composedLowerCase(QString entry)
{
    // Text below U+0300 holds no combining marks and no character that NFC
    // replaces: it is composed already.
    const bool composed = std::all_of(entry.cbegin(), entry.cend(), [](QChar c) {
        return c.unicode() < 0x0300;
    });
    if (!composed)
        entry = entry.normalized(QString::NormalizationForm_C);
    return std::move(entry).toLower();
}

// The level of the word at `position` (from 1) of a commonness list.
qint32 levelAt(qsizetype position)
{
    for (const DictionaryWords::RankLevel &rank : DictionaryWords::rankLevels()) {
        if (position <= rank.lastPosition)
            return rank.level;
    }
    return DictionaryWords::rankLevels().last().level;
}

qint32 smallerLevel(qint32 a, qint32 b)
{
    if (a == 0 || b == 0)
        return std::max(a, b);
    return std::min(a, b);
}

} // namespace

const QList<DictionaryWords::RankLevel> &DictionaryWords::rankLevels()
{
    // Sizes like those of the shipped English lists: level 10 holds the most
    // common words of everyday text, 20 and 35 the next ones; the ranking's
    // rarest class begins above 35.
    static const QList<RankLevel> levels{
        {5'000, 10},
        {15'000, 20},
        {50'000, 35},
        {100'000, 50},
        {200'000, 70},
        {std::numeric_limits<qsizetype>::max(), 95},
    };
    return levels;
}

DictionaryWords::Check DictionaryWords::check(QString entry, QString *word)
{
    *word = composedLowerCase(std::move(entry));
    const QString &text = *word;
    // Letters of any script, and the marks that follow a letter. A character
    // beyond U+FFFF (an emoji, say) is two surrogate units, neither a letter:
    // Jet files are read as UCS-2, where it cannot be kept.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isLetter() && !(i > 0 && text[i].isMark()))
            return Check::NotLetters;
    }
    return text.size() > MaxWordLength ? Check::TooLong : Check::Usable;
}

void DictionaryWords::addList(const QString &name, WordList list)
{
    const auto index = qint32(m_lists.size());
    m_lists.append(name.size() <= CategoryLength ? name : name.left(CategoryLength));
    if (!m_lists.last().isEmpty() && m_lists.last().back().isHighSurrogate())
        m_lists.last().chop(1);
    m_words.reserve(m_words.size() + list.entries.size());
    QString word;
    for (ListEntry &entry : list.entries) {
        switch (check(std::move(entry.word), &word)) {
        case Check::Usable:
            m_words.append({std::move(word), entry.commonness, index});
            break;
        case Check::NotLetters:
            if (m_notLetters++ == 0)
                m_firstNotLetters = word;
            break;
        case Check::TooLong:
            ++m_tooLong;
            break;
        }
    }
}

void DictionaryWords::finish()
{
    std::sort(m_words.begin(), m_words.end(), [](const Word &a, const Word &b) {
        return a.text < b.text || (a.text == b.text && a.list < b.list);
    });
    qsizetype kept = 0;
    for (qsizetype i = 0; i < m_words.size(); ++i) {
        if (kept > 0 && m_words[kept - 1].text == m_words[i].text) {
            Word &first = m_words[kept - 1];
            first.commonness = smallerLevel(first.commonness, m_words[i].commonness);
        } else {
            if (kept != i)
                m_words[kept] = std::move(m_words[i]);
            ++kept;
        }
    }
    m_words.resize(kept);
    m_words.squeeze();
}

void DictionaryWords::rank(const WordList &ranking)
{
    // The best level the list gives each word, found by binary search.
    std::vector<qint32> ranked(size_t(m_words.size()), 0);
    QString word;
    qsizetype position = 0;
    for (const ListEntry &entry : ranking.entries) {
        ++position;
        if (check(entry.word, &word) != Check::Usable)
            continue;
        const auto at = std::lower_bound(
            m_words.cbegin(), m_words.cend(), word, [](const Word &w, const QString &text) {
                return w.text < text;
            });
        if (at == m_words.cend() || at->text != word)
            continue;
        qint32 &level = ranked[size_t(at - m_words.cbegin())];
        level = smallerLevel(level, entry.commonness > 0 ? entry.commonness : levelAt(position));
    }
    for (qsizetype i = 0; i < m_words.size(); ++i) {
        Word &w = m_words[i];
        w.commonness = smallerLevel(w.commonness, ranked[size_t(i)]);
        if (w.commonness == 0)
            w.commonness = UnrankedLevel;
    }
}

qsizetype DictionaryWords::rate(const WordList &ratings)
{
    m_rated = true;
    qsizetype passedOver = 0;
    QString word;
    for (const ListEntry &entry : ratings.entries) {
        if (entry.commonness > 2) {
            ++passedOver;
            continue;
        }
        if (check(entry.word, &word) != Check::Usable)
            continue;
        const auto at = std::lower_bound(
            m_words.begin(), m_words.end(), word, [](const Word &w, const QString &text) {
                return w.text < text;
            });
        if (at != m_words.end() && at->text == word)
            at->offensive = entry.commonness;
    }
    return passedOver;
}

jet4::GeneratedTable DictionaryWords::table() const
{
    return {u"words"_s,
            mkmdb::wordsColumns(m_rated),
            m_words.size(),
            [this](qsizetype row, QList<jet4::Value> &values) {
                const Word &w = m_words[row];
                values.resize(m_rated ? 5 : 4); // the same list again and again: no allocation
                values[0] = qint32(row + 1);
                values[1] = m_lists[w.list];
                values[2] = w.text;
                values[3] = w.commonness;
                if (m_rated)
                    values[4] = w.offensive;
            }};
}

} // namespace dictionary
