// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <span>

// Which letters sit on which telephone key. The rows are data (KeypadTables.cpp);
// everything else here is derived from them and from Unicode.
namespace engine::keypad {

// One row of the keypad table: a key ("2" to "9") and letters printed on it.
struct KeyRow
{
    char16_t key;
    const char16_t *letters;
};

// Every row, in the order in which a key's letters are offered: A-Z first.
std::span<const KeyRow> keyRows();

// Where a letter sits: its key, the index of the table entry that puts it
// there (counting the letters of all rows in order), and whether it got there
// through its base letter (É through E). Key 0 for a character on no key.
struct LetterPlace
{
    char16_t key = 0;
    int entry = -1;
    bool throughBase = false;
};

// The place of a letter: a letter of the table (in either case), else a
// letter whose other case is one, else a letter whose canonical decomposition
// begins with a letter on a key (marks dropped: É, Ö, Ñ, Й, Ά). Characters
// that are no letters, and letters of no table (Hebrew, CJK), have no place.
// The places of all units are worked out once, at the first question.
LetterPlace placeOf(char16_t letter);

// The key ("2" to "9") of a UTF-16 unit, 0 when it is no letter on a key.
char16_t keyOf(char16_t unit);

} // namespace engine::keypad
