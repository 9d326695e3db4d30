// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/NumericScanner.h"
#include "engine/ReadingChoices.h"
#include "engine/WordPrefixTree.h"

#include <algorithm>
#include <limits>

namespace engine {

// A piece of a reading being read one character at a time, followed through
// the word tree and the number grammar at once, so a search knows after
// every character whether the piece is accepted (a stored word or a number)
// and whether a longer one still can be. The reading walk and the piece
// graph take the same steps.
struct OpenPiece
{
    int start = 0;
    WordPrefixTree::Node node = WordPrefixTree::Root; // NoNode when no word continues the piece
    int limit = -1; // -1, or the longest length still worth an exact check
    NumericScanner number;
};

struct PieceStepResult
{
    bool alive = false;     // a longer piece may still be accepted
    bool accepted = false;  // the piece up to this character is
    bool unchecked = false; // only an exact check (wordcuts::acceptsPiece) can tell
};

// Takes `choice` at `position` into `piece`. `minusPossible`: some position
// of the number offers "-" (ReadingChoices::minusPossible).
//
// A character whose lower case is not one simple unit (see ReadingChoices)
// is followed only as far as a word through the simple characters before it
// could reach, and every such length is left to the exact check; no number
// holds one.
inline PieceStepResult stepPiece(const WordPrefixTree &tree,
                                 bool minusPossible,
                                 OpenPiece &piece,
                                 const ReadingChoices::Choice &choice,
                                 int position)
{
    PieceStepResult result;
    if (piece.limit >= 0) {
        result.alive = result.accepted = result.unchecked =
            position + 1 - piece.start <= piece.limit;
    } else if (choice.simple) {
        if (piece.node != WordPrefixTree::NoNode)
            piece.node = tree.child(piece.node, choice.lower);
        if (!piece.number.isDead()) {
            piece.number.step(choice.lower);
            // Without a negative exponent a value that overflows only grows.
            if (!minusPossible && piece.number.range() == NumericScanner::Range::Overflows)
                piece.number.markDead();
        }
        if (piece.node != WordPrefixTree::NoNode && tree.isWord(piece.node)) {
            result.accepted = true;
        } else if (piece.number.isComplete()) {
            switch (piece.number.range()) {
            case NumericScanner::Range::Fits:
                result.accepted = true;
                break;
            case NumericScanner::Range::AtLimit:
                result.accepted = result.unchecked = true;
                break;
            case NumericScanner::Range::Overflows:
                break;
            }
        }
        result.alive = piece.node != WordPrefixTree::NoNode || !piece.number.isDead();
    } else if (piece.node != WordPrefixTree::NoNode) {
        // The first unusual character: no number holds one, and a word must
        // begin with the lower-cased simple characters before it.
        const int simpleLength = position - piece.start;
        piece.limit = int(std::min<qsizetype>(simpleLength + tree.longestBelow(piece.node),
                                              std::numeric_limits<int>::max()));
        result.alive = result.accepted = result.unchecked = simpleLength + 1 <= piece.limit;
    }
    return result;
}

} // namespace engine
