// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/LineScore.h"

#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <vector>

namespace engine {

class WordStore;

// Ranks the mnemonic result lines of one number, best first, by a key that
// is computed once per line and fits 32 bits; a list keeps one key per line
// and orders its lines with orderBest().
//
// A line is read as its pieces (the texts between its "-"); a piece with a
// digit 0-9 is a digit piece, any other a word, looked up for its
// commonness. The number as the user typed it tells where its groups begin
// (blanks, "-", "(", ")", "." and "/" separate them) and which of them are a
// prefix (an area code, a toll-free prefix) before the word part: the word
// part is the shortest run of last groups that holds at least six
// characters, and the groups before it are the prefix ("1-800-356-9377",
// "1300 468 357", "646-468357"). When that run holds ten or more (the prefix
// was typed without a separator, as in "18003569377"), the last seven
// characters are the word part.
//
// Two tiers:
// - Kept prefix: the number has a prefix, every prefix position is in a
//   digit piece without letters and words fill the rest ("646-BOOKING",
//   "1-800-FLOWERS").
//   These come first, ordered by fewer word pieces, then the longer longest
//   word, then the prefix written in exactly the groups typed ("1-800" for
//   "1-800-...", "212" for "(212)"), then the more common words, then the
//   rest of the digits' layout: fewer digit pieces, no piece boundary inside
//   a typed group ("1800" before "18-00").
// - Every other line, by a weighted score: fewer pieces, more letters in
//   words, a longer longest word and more common words score better; digit
//   pieces after a word, digits split into several pieces, numbers with
//   letters in them ("4E4") and a prefix turned into words or swallowed by a
//   word ("OHM-BOOKING") score worse.
// Equal keys keep the order in which the lines were found.
//
// A ranking remembers the commonness of the pieces it saw last, so one
// ranking serves one thread.
class LineRanking
{
public:
    // `typed`: the number as the user typed it; `words`: the dictionary the
    // lines came from (it must outlive the ranking).
    LineRanking(const WordStore &words, QStringView typed);

    // The key of a result line of this number: smaller ranks higher. The
    // line ends at its first blank (an appended original number is not part
    // of it). A line that does not fit the number ranks last.
    quint32 key(QStringView line) const;
    // The key, its score and the parts they are made of.
    LineScore explain(QStringView line) const;

    // How many positions (the number's characters without blanks, "-", "("
    // and ")") the prefix takes; 0 when the number has none.
    int prefixLength() const { return m_prefixEnd; }
    // The positions of the number.
    int size() const { return m_size; }

    // Rarity classes of the commonness levels: 0 for levels up to 10 and for
    // unknown levels (0), 1 up to 20, 2 up to 35, 3 beyond.
    static int rarityOf(int commonness);

    // Building a key piece by piece, for searches that build lines that way
    // (BestLineSearch) and must give the keys key() gives their lines.

    // A piece as the ranking counts it.
    struct Piece
    {
        int length = 0;      // UTF-16 units
        bool digit = false;  // holds a digit 0-9
        bool letter = false; // holds a letter
        int rarity = 0;      // of a word piece
    };
    // `text`: a piece without "-".
    Piece pieceOf(QStringView text) const;

    // What the ranking counts of a line's pieces, in order.
    struct Tally
    {
        int pieces = 0;
        int wordPieces = 0;
        int letters = 0;
        int longest = 0;
        int rarity = 0;
        int digitPieces = 0;
        int scattered = 0;     // digit pieces after a word
        int letterNumbers = 0; // digit pieces with letters ("4E4")
        int splitGroups = 0;   // pieces that begin inside a typed group of the prefix
        int typedCuts = 0;     // pieces that begin where a typed group of the prefix does
        bool wordSeen = false;
        bool prefixLost = false;    // a word takes a prefix position
        bool digitsInWords = false; // a digit piece reaches past the prefix
        int position = 0;           // positions of the number read so far
    };
    // Counts the next piece of a line.
    void count(Tally &tally, const Piece &piece) const;
    // The key of a line whose pieces are all counted.
    quint32 keyOf(const Tally &tally) const;

    // Bounds on the key of a line of which only the first pieces are known.
    //
    // What the weighted score of the other tier adds for a further piece
    // depends on a tally only through its state, one of WeightStates (a word
    // seen, a digit piece seen), and on whether the prefix is lost already.
    // The bounds take the lost prefix's weight, which a line pays once, as
    // paid: tallyAt() gives a tally whose prefix is lost.
    static constexpr int WeightStates = 4;
    static int weightStateOf(const Tally &tally);
    // A tally at `position` in state `state`, its prefix lost, with nothing
    // else counted.
    static Tally tallyAt(int position, int state);
    // The weighted score of the other tier without the longest word's share,
    // which is the only part that does not add up piece by piece.
    int weightWithoutLongest(const Tally &tally) const;
    // Whether the pieces counted so far leave the kept-prefix tier open.
    bool mayKeepPrefix(const Tally &tally) const;

    // The best that the pieces after some position can still add, over every
    // way of ending a line from there.
    struct Outlook
    {
        // The least weightWithoutLongest() adds, by the state reached.
        std::array<int, WeightStates> weight{};
        int longestWord = 0;
        // Over the endings that keep the prefix (if `keepsPrefix`).
        bool keepsPrefix = false;
        int keptWordPieces = 0;
        int keptRarity = 0;
        int keptLongestWord = 0;
    };
    // A key no line that goes on from `tally` as `rest` allows can beat.
    quint32 keyBound(const Tally &tally, const Outlook &rest) const;

private:
    // The weights of the weighted score of lines outside the kept-prefix
    // tier; smaller scores rank higher.
    static constexpr int PieceWeight = 10;
    static constexpr int LetterWeight = -6;
    static constexpr int LongestWordWeight = -3;
    static constexpr int RarityWeight = 2;         // per rarity class of every word
    static constexpr int ScatteredDigitWeight = 8; // per digit piece after a word
    static constexpr int SplitDigitWeight = 4;     // per digit piece after the first
    static constexpr int LetterNumberWeight = 20;  // per digit piece with letters ("4E4")
    static constexpr int SplitGroupWeight = 6;     // per piece boundary inside a typed prefix group
    static constexpr int LostPrefixWeight = 16;    // a prefix with words in it
    // The bits of a weight state.
    static constexpr int WordSeenState = 1;
    static constexpr int DigitSeenState = 2;

    void count(Tally &tally, int length, bool digit, bool letter, int rarity) const;
    int rarityOfWord(QStringView piece, quint64 packed) const;
    // A piece counted, ended by the "-" at `end`, and the tally after it.
    struct Counted
    {
        qsizetype end;
        Tally tally;
    };
    // The tally of a line; false when it does not fit the number.
    bool tallyOf(QStringView line, Tally &tally) const
    {
        return tallyFrom(line, 0, tally, nullptr);
    }
    // The same, going on from `start` with what `tally` counted before it;
    // each piece counted that a "-" ends is added to `counted`, if given.
    bool
    tallyFrom(QStringView line, qsizetype start, Tally &tally, std::vector<Counted> *counted) const;
    int digitLayout(const Tally &tally) const;

    const WordStore &m_words;
    int m_size = 0; // positions of the number
    // Per position (and one past the end): a piece may begin here without
    // splitting a typed group.
    std::vector<char> m_groupStart;
    int m_prefixEnd = 0;
    int m_prefixGroupStarts = 0; // typed group starts inside the prefix, after its first
    // The rarity of recently seen short words, by their letters packed in 64
    // bits (0: an empty slot).
    struct CachedWord
    {
        quint64 packed = 0;
        int rarity = 0;
    };
    mutable std::vector<CachedWord> m_cache;
    // The line key() read last, and its pieces counted: lines come in runs
    // that differ only in their last pieces, and the next line goes on from
    // the last piece it shares.
    mutable std::vector<char16_t> m_lastLine;
    mutable std::vector<Counted> m_counted;
};

// Inline: a search counts pieces and weighs tallies for every piece of a
// number in every state.

inline void LineRanking::count(Tally &tally, const Piece &piece) const
{
    count(tally, piece.length, piece.digit, piece.letter, piece.rarity);
}

inline void LineRanking::count(Tally &t, int length, bool digit, bool letter, int rarity) const
{
    const int begin = t.position;
    t.position += length;
    if (t.position > m_size)
        return;
    ++t.pieces;
    if (begin > 0 && begin < m_prefixEnd) {
        if (m_groupStart[begin])
            ++t.typedCuts;
        else
            ++t.splitGroups;
    }
    if (digit) {
        ++t.digitPieces;
        t.scattered += t.wordSeen ? 1 : 0;
        t.letterNumbers += letter ? 1 : 0;
        t.digitsInWords = t.digitsInWords || t.position > m_prefixEnd;
    } else {
        ++t.wordPieces;
        t.wordSeen = true;
        t.letters += length;
        t.longest = std::max(t.longest, length);
        t.rarity += rarity;
        t.prefixLost = t.prefixLost || begin < m_prefixEnd;
    }
}

inline bool LineRanking::mayKeepPrefix(const Tally &t) const
{
    return m_prefixEnd > 0 && !t.prefixLost && !t.digitsInWords && t.letterNumbers == 0;
}

inline int LineRanking::weightWithoutLongest(const Tally &t) const
{
    return PieceWeight * t.pieces + LetterWeight * t.letters + RarityWeight * t.rarity
           + ScatteredDigitWeight * t.scattered + SplitDigitWeight * std::max(t.digitPieces - 1, 0)
           + LetterNumberWeight * t.letterNumbers + SplitGroupWeight * t.splitGroups
           + (t.prefixLost ? LostPrefixWeight : 0);
}

inline int LineRanking::weightStateOf(const Tally &t)
{
    return (t.wordSeen ? WordSeenState : 0) | (t.digitPieces > 0 ? DigitSeenState : 0);
}

inline LineRanking::Tally LineRanking::tallyAt(int position, int state)
{
    Tally t;
    t.position = position;
    t.wordSeen = (state & WordSeenState) != 0;
    t.digitPieces = (state & DigitSeenState) != 0 ? 1 : 0;
    t.prefixLost = true;
    return t;
}

// The indexes of `keys` in ascending key order, equal keys in their original
// order (a stable sort). Fewer than 2^32 keys.
std::vector<quint32> orderBest(const std::vector<quint32> &keys);

// The result lines of one number with their keys, for listing them best
// first. With a limit it holds only the lines that can still be among that
// many best ones, so its memory does not grow with the count of lines.
class RankedLines
{
public:
    // `limit`: how many best lines best() gives at most; -1 for all.
    RankedLines(const WordStore &words, QStringView typed, qsizetype limit = -1);

    void add(const QString &line);
    // Lines added so far (also those no longer held).
    qint64 added() const { return m_added; }
    // The lines best first, up to the limit. A line equal to a line before
    // it is left out: a number typed with blanks gives some lines twice.
    QStringList best() const;

private:
    // Keeps the best distinct lines, up to the limit.
    void compact();

    LineRanking m_ranking;
    qsizetype m_limit;
    qsizetype m_compactAt; // the count of held lines that calls for compact(); -1: never
    QStringList m_lines;
    std::vector<quint32> m_keys;
    qint64 m_added = 0;
};

} // namespace engine
