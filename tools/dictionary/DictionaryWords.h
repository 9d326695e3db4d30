// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/dictionary/ListEntries.h"
#include "tools/jet4/Jet4Writer.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace dictionary {

// The words of a dictionary gathered from word lists: each entry made of
// letters (any script; composed to NFC, lower-cased) once, with the list it
// was first found in and its commonness level (as the dictionary's
// Commonness column holds it: smaller is more common, 0 unknown).
class DictionaryWords
{
public:
    struct Word
    {
        QString text;
        qint32 commonness = 0;
        qint32 list = 0;      // index into lists()
        qint32 offensive = 0; // 0 none, 1 maybe, 2 likely
    };

    // Levels of the words ranked by a commonness list, by their position in
    // it, and of the words it leaves out.
    struct RankLevel
    {
        qsizetype lastPosition;
        qint32 level;
    };
    static const QList<RankLevel> &rankLevels();
    static constexpr qint32 UnrankedLevel = 100;

    // The longest word a dictionary row holds.
    static constexpr qsizetype MaxWordLength = 255;

    enum class Check { Usable, NotLetters, TooLong };
    // Whether `entry` can be a dictionary word; `word` is its dictionary
    // form (composed and lower-cased).
    static Check check(QString entry, QString *word);

    // Adds the usable entries of a list named `name` (its file name).
    void addList(const QString &name, WordList list);
    // Sorts the words and keeps each once (the smallest level of its entries,
    // the first list). Call once, after the last addList.
    void finish();
    // Gives the words the levels of a commonness list: an entry's number, or
    // the level of its position. A word keeps the smaller of that and its
    // own; a word the list leaves out and that has no level gets
    // UnrankedLevel. Call after finish().
    void rank(const WordList &ranking);
    // Gives the words the ratings of a list of words with their ratings (0,
    // 1 or 2 after the TAB); the table gets the column Offensive. Returns
    // how many entries were passed over for a rating above 2. Call after
    // finish().
    qsizetype rate(const WordList &ratings);

    const QList<Word> &words() const { return m_words; }
    const QStringList &lists() const { return m_lists; }
    // Entries passed over, by reason, with the first of each.
    qsizetype notLetters() const { return m_notLetters; }
    qsizetype tooLong() const { return m_tooLong; }
    QString firstNotLetters() const { return m_firstNotLetters; }

    // The dictionary table `words`, as the shipped dictionary lays it out,
    // its rows made from words() while it is written.
    jet4::GeneratedTable table() const;

private:
    QList<Word> m_words;
    QStringList m_lists;
    bool m_rated = false;
    qsizetype m_notLetters = 0;
    qsizetype m_tooLong = 0;
    QString m_firstNotLetters;
};

} // namespace dictionary
