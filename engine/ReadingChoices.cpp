// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ReadingChoices.h"

#include "engine/Keypad.h"
#include "engine/SaturatingCount.h"

#include <algorithm>

namespace engine {

ReadingChoices::Choice ReadingChoices::choiceOf(QChar c, bool wordsOnly)
{
    Choice choice{};
    choice.unit = c.unicode();
    if (choice.unit < 0x80) {
        choice.simple = true;
        choice.lower =
            (choice.unit >= u'A' && choice.unit <= u'Z') ? choice.unit + 32 : choice.unit;
    } else if (!c.isSurrogate()) {
        // As the reference search lower-cases a piece: QString::toLower.
        const QString lower = QString(c).toLower();
        choice.simple = lower.size() == 1 && !lower.front().isSurrogate();
        choice.lower = choice.simple ? keypad::lookupUnit(lower.front().unicode()) : choice.unit;
    }
    choice.letter = keypad::isLetter(choice.unit);
    choice.digit = keypad::isAsciiDigit(choice.unit);
    choice.allowed = !(wordsOnly && choice.digit);
    return choice;
}

void ReadingChoices::read(const QStringList &choices, bool wordsOnly)
{
    m_size = int(choices.size());
    m_choices.clear();
    m_first.assign(1, 0);
    m_minusPossible = false;
    m_blankPossible = false;
    m_everyPositionAllowed = true;
    for (const QString &position : choices) {
        bool anyAllowed = false;
        for (const QChar c : position) {
            const Choice choice = choiceOf(c, wordsOnly);
            m_minusPossible = m_minusPossible || choice.unit == u'-';
            m_blankPossible = m_blankPossible || choice.unit == u' ';
            anyAllowed = anyAllowed || choice.allowed;
            m_choices.push_back(choice);
        }
        m_everyPositionAllowed = m_everyPositionAllowed && anyAllowed;
        m_first.push_back(int(m_choices.size()));
    }

    m_steps.assign(m_size + 1, 0);
    m_lettersFrom.assign(m_size + 1, 0);
    for (int position = m_size - 1; position >= 0; --position) {
        const auto begin = m_choices.begin() + m_first[position];
        const auto end = m_choices.begin() + m_first[position + 1];
        m_steps[position] =
            saturatingMultiply(end - begin, saturatingAdd(1, m_steps[position + 1]));
        const bool letter = std::any_of(begin, end, [](const Choice &c) {
            return c.allowed && c.letter;
        });
        m_lettersFrom[position] = m_lettersFrom[position + 1] + (letter ? 1 : 0);
    }
}

} // namespace engine
