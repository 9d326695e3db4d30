// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/LineScore.h"

#include "engine/Keypad.h"
#include "engine/LineRanking.h"
#include "engine/WordStore.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace convert {

quint32 scoreOf(const engine::LineRanking &ranking, QStringView line)
{
    // The ranking's key is smaller for better lines.
    return 0xFFFFFFFFu - ranking.key(line);
}

const QStringList &scorePartNames()
{
    static const QStringList names{
        u"pieces"_s, u"letters"_s, u"longest_word"_s, u"commonness"_s, u"prefix_kept"_s};
    return names;
}

QList<ScorePart>
explainScore(const engine::LineRanking &ranking, const engine::WordStore &words, QStringView line)
{
    const qsizetype blank = line.indexOf(u' ');
    if (blank >= 0)
        line = line.first(blank);
    const int prefix = ranking.prefixLength();
    int pieces = 0;
    int letters = 0;
    int longest = 0;
    int rarity = 0;
    int position = 0;
    bool prefixKept = prefix > 0;
    for (const QStringView piece : line.tokenize(u'-', Qt::SkipEmptyParts)) {
        ++pieces;
        const bool digits = std::any_of(piece.begin(), piece.end(), [](QChar c) {
            return engine::keypad::isAsciiDigit(c.unicode());
        });
        const int begin = position;
        position += int(piece.size());
        if (begin < prefix) {
            const bool onlyDigits = std::all_of(piece.begin(), piece.end(), [](QChar c) {
                return engine::keypad::isAsciiDigit(c.unicode());
            });
            prefixKept = prefixKept && onlyDigits && position <= prefix;
        }
        if (digits)
            continue;
        letters += int(piece.size());
        longest = std::max(longest, int(piece.size()));
        rarity += engine::LineRanking::rarityOf(words.commonness(piece.toString().toLower()));
    }
    const QStringList &names = scorePartNames();
    return {{names[0], pieces},
            {names[1], letters},
            {names[2], longest},
            {names[3], rarity},
            {names[4], prefixKept ? 1 : 0}};
}

} // namespace convert
