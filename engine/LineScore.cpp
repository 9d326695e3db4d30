// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineScore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

QList<std::pair<QString, QString>> LineScore::parts() const
{
    const auto yesNo = [](bool value) {
        return value ? u"1"_s : u"0"_s;
    };
    return {
        {u"prefix_kept"_s, yesNo(prefixKept)},
        {u"pieces"_s, QString::number(pieces)},
        {u"word_pieces"_s, QString::number(wordPieces)},
        {u"letters"_s, QString::number(letters)},
        {u"longest_word"_s, QString::number(longestWord)},
        {u"commonness"_s, QString::number(commonness)},
        {u"digit_pieces"_s, QString::number(digitPieces)},
        {u"digits_after_words"_s, QString::number(digitsAfterWords)},
        {u"numbers_with_letters"_s, QString::number(numbersWithLetters)},
        {u"split_groups"_s, QString::number(splitGroups)},
        {u"typed_groups"_s, yesNo(typedGroups)},
        {u"prefix_lost"_s, yesNo(prefixLost)},
    };
}

} // namespace engine
