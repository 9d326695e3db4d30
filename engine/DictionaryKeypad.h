// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QChar>
#include <QString>

#include <array>

namespace engine {

class WordStore;

// The keypad of one dictionary: the choices a reading has at each character
// of a number. Keys 2-9 offer their digit, then A-Z as every keypad does,
// then every other letter that the dictionary's words use on that key (see
// KeypadTables.h), each once, in upper case as a result line shows it
// (QChar::toUpper, so ß stays ß): first those of the table's earlier rows
// (Latin, then Cyrillic, then Greek), a letter with marks right after the
// row letter it is written from, and letters of one place by code point.
// Any other character is its own one choice.
//
// A letter of the dictionary is offered only when its upper case looks it up
// again (lower-cased, see keypad::lookupUnit): a word kept with capitals
// cannot be read, as with A-Z.
class DictionaryKeypad
{
public:
    // The keypad of A-Z alone.
    DictionaryKeypad();
    explicit DictionaryKeypad(const WordStore &words);

    // The choices of one character of a number.
    QString choicesOf(QChar character) const;

private:
    std::array<QString, 8> m_keys; // "2" to "9"
};

} // namespace engine
