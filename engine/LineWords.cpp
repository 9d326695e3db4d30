// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineWords.h"

#include "engine/Keypad.h"
#include "engine/WordStore.h"

#include <algorithm>

namespace engine {

namespace {

// Calls `take` with every piece of a line.
template <typename Take>
void forEachPiece(QStringView line, Take take)
{
    const qsizetype blank = line.indexOf(u' ');
    if (blank >= 0)
        line = line.first(blank);
    for (const QStringView piece : line.tokenize(u'-', Qt::SkipEmptyParts))
        take(piece);
}

bool holdsDigit(QStringView piece)
{
    return std::any_of(piece.begin(), piece.end(), [](QChar c) {
        return keypad::isAsciiDigit(c.unicode());
    });
}

} // namespace

QStringList wordsOfLine(QStringView line)
{
    QStringList words;
    forEachPiece(line, [&](QStringView piece) {
        if (!holdsDigit(piece))
            words.append(piece.toString());
    });
    return words;
}

int offensiveRatingOf(const WordStore &words, QStringView line)
{
    if (!words.hasOffensiveWords())
        return 0;
    const WordPrefixTree &tree = words.prefixTree();
    int highest = 0;
    forEachPiece(line, [&](QStringView piece) {
        WordPrefixTree::Node node = WordPrefixTree::Root;
        for (const QChar c : piece) {
            node = tree.child(node, keypad::lookupUnit(c.toLower().unicode()));
            if (node == WordPrefixTree::NoNode)
                return;
        }
        if (tree.isWord(node))
            highest = std::max(highest, words.offensiveAt(node));
    });
    return highest;
}

} // namespace engine
