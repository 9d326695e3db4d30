// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/DictionaryKeypad.h"

#include "engine/Keypad.h"
#include "engine/KeypadTables.h"
#include "engine/WordStore.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace engine {

namespace {

int keyIndex(char16_t key)
{
    return key - u'2';
}

} // namespace

DictionaryKeypad::DictionaryKeypad()
{
    // Made once: a keypad is made for every run.
    static const std::array<QString, 8> plainKeys = [] {
        std::array<QString, 8> keys;
        for (std::size_t index = 0; index < keys.size(); ++index)
            keys[index] = QChar(char16_t(u'2' + index));
        for (const keypad::KeyRow &row : keypad::keyRows()) {
            if (keypad::isAsciiLetter(row.letters[0]))
                keys[keyIndex(row.key)] += QString::fromUtf16(row.letters);
        }
        return keys;
    }();
    m_keys = plainKeys;
}

DictionaryKeypad::DictionaryKeypad(const WordStore &words)
    : DictionaryKeypad()
{
    struct Letter
    {
        char16_t shown;
        keypad::LetterPlace place;
    };
    std::array<std::vector<Letter>, 8> letters;
    for (const char16_t unit : words.prefixTree().heldUnitsBeyondAscii()) {
        const keypad::LetterPlace place = keypad::placeOf(unit);
        const char32_t shown = QChar::toUpper(char32_t(unit));
        if (place.key == 0 || shown < 0x80 || shown > 0xffff)
            continue;
        const QString lowered = QString(QChar(char16_t(shown))).toLower();
        if (lowered.size() != 1 || keypad::lookupUnit(lowered.front().unicode()) != unit)
            continue;
        letters[keyIndex(place.key)].push_back(Letter{char16_t(shown), place});
    }
    for (std::size_t index = 0; index < letters.size(); ++index) {
        std::vector<Letter> &key = letters[index];
        std::sort(key.begin(), key.end(), [](const Letter &a, const Letter &b) {
            return std::tie(a.place.entry, a.place.throughBase, a.shown)
                   < std::tie(b.place.entry, b.place.throughBase, b.shown);
        });
        for (const Letter &letter : key)
            m_keys[index] += QChar(letter.shown);
    }
}

QString DictionaryKeypad::choicesOf(QChar character) const
{
    const char16_t unit = character.unicode();
    if (unit >= u'2' && unit <= u'9')
        return m_keys[keyIndex(unit)];
    return QString(character);
}

} // namespace engine
