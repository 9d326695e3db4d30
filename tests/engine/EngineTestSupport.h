// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/WordStore.h"
#include "tests/support/FakeWindow.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

// Small helpers shared by the engine's tests.
namespace enginetest {

inline engine::WordStore storeOf(const QStringList &words)
{
    engine::WordStore store;
    for (const QString &word : words)
        store.add(word);
    return store;
}

// A word list of one word a line (UTF-8), lower-cased, without blank lines
// and repeats; empty when the file is missing.
inline engine::WordStore wordList(const QString &path)
{
    engine::WordStore store;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return store;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString word = line.toLower();
        if (!word.isEmpty())
            store.tryAdd(word);
    }
    return store;
}

// /usr/share/dict/american-english (empty when the file is missing).
inline engine::WordStore americanEnglish()
{
    return wordList(QStringLiteral("/usr/share/dict/american-english"));
}

// One click of "Start Converting" on `host` with the given search.
inline void runOnce(FakeWindow &host,
                    const engine::WordStore &store,
                    engine::ConversionRun::SearchMode mode,
                    qint64 *generatedCount = nullptr)
{
    engine::ConversionRun run(store);
    run.setSearchMode(mode);
    run.startOrStop(host);
    if (generatedCount)
        *generatedCount = run.generatedCount();
}

// Words that no random dictionary would hold: capitals (never matched, since
// pieces are lower-cased), digits, blanks, letters beyond A-Z, short words,
// and a few unusable ones (not kept).
inline const QStringList HandMadeWords =
    QStringList{QStringLiteral("If"),     QStringLiteral("FILE"),   QStringLiteral("a"),
                QStringLiteral("i"),      QStringLiteral("be"),     QStringLiteral("go"),
                QStringLiteral("4u"),     QStringLiteral("b4"),     QStringLiteral("3d"),
                QStringLiteral("2b"),     QStringLiteral("a b"),    QStringLiteral("i f"),
                QStringLiteral(" a"),     QStringLiteral("\u00e9"), QStringLiteral("d\u00e9"),
                QStringLiteral("\u00fc"), QStringLiteral("ad"),     QStringLiteral("e3"),
                QStringLiteral("1.5"),    QStringLiteral("+a"),     QStringLiteral("a.b"),
                QStringLiteral("(a)"),    QStringLiteral("ab-c"),   QStringLiteral("cab"),
                QStringLiteral("bad")}
    + QStringList{QStringLiteral("\u00dfa"),
                  QStringLiteral("\u03c3\u03c2"),
                  QStringLiteral("\u00c9t\u00e9"),
                  QStringLiteral("\u05d0"),
                  QStringLiteral("a\u20ac")};

// A number of 2 to 9 characters: mostly digits, now and then a typed letter
// in either case (A-Z or beyond), a blank, a dot, a plus sign, a parenthesis
// or a hyphen; kept to at most `maxReadings` readings of `keypad` so the
// reference search stays quick.
inline QString
randomNumber(QRandomGenerator &random, const engine::DictionaryKeypad &keypad, qint64 maxReadings)
{
    static const QString others =
        QStringLiteral("aAbBdDeEgGxXzZ  ..++()--\u00e9\u00c9\u0416\u0436\u03c2\u03a3");
    for (;;) {
        const int length = random.bounded(2, 10);
        QString number;
        qint64 readings = 1;
        for (int i = 0; i < length; ++i) {
            QChar c;
            if (random.bounded(6) == 0)
                c = others.at(random.bounded(others.size()));
            else
                c = QChar(char16_t(u'0' + random.bounded(10)));
            number += c;
            readings *= keypad.choicesOf(c).size();
        }
        if (readings <= maxReadings)
            return number;
    }
}

// With `levels`, the words get random commonness levels.
inline engine::WordStore randomDictionary(QRandomGenerator &random, bool levels = false)
{
    static const int commonness[] = {0, 10, 20, 35, 50, 70};
    engine::WordStore store;
    // Letters of few keys make words that readings actually contain; some
    // dictionaries have letters beyond A-Z on those keys.
    static const QString letterSets[] = {
        QStringLiteral("adgjmptwbehknqux"),
        QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
        QStringLiteral("adgjmptw\u00e4\u00e9\u00f1\u00f6\u00fc\u00df\u0142\u0436\u0438\u043a\u03c3"
                       "\u03c2\u03ac")};
    const QString &letters = letterSets[random.bounded(3)];
    const int count = random.bounded(5, 120);
    for (int i = 0; i < count; ++i) {
        QString word;
        const int length = random.bounded(1, 6);
        for (int j = 0; j < length; ++j)
            word += letters.at(random.bounded(letters.size()));
        if (!store.contains(word))
            store.add(word, levels ? commonness[random.bounded(6)] : 0);
    }
    for (const QString &word : HandMadeWords) {
        if (random.bounded(3) == 0 && !store.contains(word))
            store.add(word);
    }
    return store;
}

} // namespace enginetest
