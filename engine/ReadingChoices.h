// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

#include <vector>

namespace engine {

// The choices of every position of one number (its choice strings, from a
// DictionaryKeypad), read once before the walk over its readings, with what
// the walk needs to know ahead: the enumeration steps below each position and
// how many positions from each on can still give a letter.
class ReadingChoices
{
public:
    struct Choice
    {
        char16_t unit;  // as the reading shows it
        char16_t lower; // the unit a word holds for it (see keypad::lookupUnit), when `simple`
        bool simple;    // it lower-cases to one non-surrogate unit
        bool letter;    // keypad::isLetter
        bool digit;     // 0-9
        bool allowed;   // may be chosen under the options
    };

    // One choice string per position; under `wordsOnly` no digit is allowed.
    void read(const QStringList &choices, bool wordsOnly);

    int size() const { return m_size; }
    // The choices of `position` are choice(first(position)) up to, not
    // including, choice(first(position + 1)).
    int first(int position) const { return m_first[position]; }
    const Choice &choice(int index) const { return m_choices[index]; }
    // The enumeration steps of every choice from `position` on (saturating).
    qint64 stepsFrom(int position) const { return m_steps[position]; }
    // The positions from `position` on that have an allowed letter.
    int lettersFrom(int position) const { return m_lettersFrom[position]; }
    bool everyPositionAllowed() const { return m_everyPositionAllowed; }
    // Whether some position offers "-" (without one no exponent is negative).
    bool minusPossible() const { return m_minusPossible; }
    // Whether some position offers a blank.
    bool blankPossible() const { return m_blankPossible; }

private:
    static Choice choiceOf(QChar c, bool wordsOnly);

    int m_size = 0;
    std::vector<Choice> m_choices;
    std::vector<int> m_first;       // one extra at the end
    std::vector<qint64> m_steps;    // one extra (0) at the end
    std::vector<int> m_lettersFrom; // one extra (0) at the end
    bool m_everyPositionAllowed = false;
    bool m_minusPossible = false;
    bool m_blankPossible = false;
};

} // namespace engine
