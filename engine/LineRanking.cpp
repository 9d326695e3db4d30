// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineRanking.h"

#include "engine/Keypad.h"
#include "engine/NumberText.h"
#include "engine/WordStore.h"

#include <algorithm>

namespace engine {

namespace {

// The word part of a number: the last groups holding at least this many
// characters, and the length from which such a part is taken to hold a
// prefix typed without a separator, whose last seven characters are then
// the word part (a North American local number).
constexpr int WordPartLength = 6;
constexpr int GluedPrefixLength = 10;
constexpr int GluedWordPartLength = 7;
// Words of up to this many ASCII letters are packed into 64 bits.
constexpr int PackedLetters = 12;
constexpr int CacheBits = 10;

constexpr quint32 KeptPrefixTier = 0;
constexpr quint32 OtherTier = quint32(1) << 31;
constexpr quint32 LastKey = ~quint32(0);
constexpr int ScoreOffset = 1 << 30;

// The characters that end a group of the typed number without a position
// of their own: those the conversions drop, and blanks. Others stay in it but
// separate groups.
bool endsGroup(QChar c)
{
    return number::isDropped(c) || c == u' ';
}

bool isSeparator(QChar c)
{
    return c == u'.' || c == u'/';
}

// The commonness level of a piece looked up lower-cased, 0 when it is no word.
int pieceCommonness(const WordPrefixTree &tree, QStringView piece)
{
    WordPrefixTree::Node node = WordPrefixTree::Root;
    for (const QChar c : piece) {
        char16_t unit = c.unicode();
        if (unit >= u'A' && unit <= u'Z')
            unit += u'a' - u'A';
        else if (unit >= 0x80)
            unit = keypad::lookupUnit(c.toLower().unicode());
        node = tree.child(node, unit);
        if (node == WordPrefixTree::NoNode)
            return 0;
    }
    return tree.isWord(node) ? tree.commonness(node) : 0;
}

quint32 field(int value, int bits)
{
    return quint32(std::clamp(value, 0, (1 << bits) - 1));
}

// Fewer word pieces, the longer longest word, the prefix in the typed groups,
// the more common words, then the rest of the digits' layout.
quint32 keptPrefixKey(int wordPieces, int longest, int layout, int rarity)
{
    return KeptPrefixTier | field(wordPieces, 7) << 24 | field(63 - longest, 6) << 18
           | quint32(layout > 0 ? 1 : 0) << 17 | field(rarity, 8) << 9 | field(layout, 9);
}

} // namespace

LineRanking::LineRanking(const WordStore &words, QStringView typed)
    : m_words(words)
{
    struct Group
    {
        int begin;
        int end;
    };
    std::vector<Group> groups;
    bool boundary = true;
    for (const QChar c : typed) {
        if (endsGroup(c)) {
            boundary = true;
            continue;
        }
        const int position = m_size++;
        if (isSeparator(c)) {
            m_groupStart.push_back(1);
            boundary = true;
            continue;
        }
        m_groupStart.push_back(boundary ? 1 : 0);
        if (boundary)
            groups.push_back(Group{position, position + 1});
        else
            groups.back().end = position + 1;
        boundary = false;
    }
    m_groupStart.push_back(1);

    const auto start = std::find_if(groups.rbegin(), groups.rend(), [&](const Group &group) {
        return m_size - group.begin >= WordPartLength;
    });
    if (start == groups.rend())
        return;
    if (m_size - start->begin >= GluedPrefixLength) {
        m_prefixEnd = m_size - GluedWordPartLength;
        m_groupStart[m_prefixEnd] = 1;
    } else {
        m_prefixEnd = start->begin;
    }
    for (int position = 1; position < m_prefixEnd; ++position)
        m_prefixGroupStarts += m_groupStart[position];
}

int LineRanking::rarityOfWord(QStringView piece, quint64 packed) const
{
    if (packed == 0)
        return rarityOf(pieceCommonness(m_words.prefixTree(), piece));
    if (m_cache.empty())
        m_cache.resize(std::size_t(1) << CacheBits); // a search that never asks needs none
    CachedWord &cached = m_cache[(packed * Q_UINT64_C(0x9E3779B97F4A7C15)) >> (64 - CacheBits)];
    if (cached.packed != packed)
        cached = CachedWord{packed, rarityOf(pieceCommonness(m_words.prefixTree(), piece))};
    return cached.rarity;
}

int LineRanking::rarityOf(int commonness)
{
    if (commonness <= 10)
        return 0;
    if (commonness <= 20)
        return 1;
    return commonness <= 35 ? 2 : 3;
}

bool LineRanking::tallyFrom(QStringView line,
                            qsizetype start,
                            Tally &tally,
                            std::vector<Counted> *counted) const
{
    const char16_t *const text = line.utf16();
    qsizetype size = line.size();
    for (qsizetype i = start; i < size;) {
        if (text[i] == u'-') {
            ++i;
            continue;
        }
        qsizetype j = i;
        bool digit = false;
        bool letter = false;
        quint64 packed = 0; // the letters a-z as 1-26, five bits each
        for (; j < size && text[j] != u'-'; ++j) {
            const char16_t unit = text[j];
            if (unit == u' ') {
                size = j; // the line ends at a blank
                break;
            }
            digit = digit || keypad::isAsciiDigit(unit);
            const bool asciiLetter = keypad::isAsciiLetter(unit);
            letter = letter || asciiLetter || (unit >= 0x80 && keypad::isLetter(unit));
            if (asciiLetter && j - i < PackedLetters)
                packed |= quint64((unit | 0x20) - u'a' + 1) << (5 * (j - i));
            else
                packed = ~quint64(0);
        }
        if (j == i)
            break;
        const QStringView piece = line.sliced(i, j - i);
        const int rarity = digit ? 0 : rarityOfWord(piece, packed == ~quint64(0) ? 0 : packed);
        count(tally, int(std::min<qsizetype>(piece.size(), m_size + 1)), digit, letter, rarity);
        if (tally.position > m_size)
            return false;
        if (counted && j < size)
            counted->push_back(Counted{j, tally});
        i = j;
    }
    return tally.position == m_size;
}

quint32 LineRanking::key(QStringView line) const
{
    // The pieces this line shares with the last one, each ended by the same
    // "-", are counted already.
    const char16_t *const text = line.utf16();
    const qsizetype shared = std::min(line.size(), qsizetype(m_lastLine.size()));
    qsizetype same = 0;
    while (same < shared && text[same] == m_lastLine[std::size_t(same)])
        ++same;
    while (!m_counted.empty() && m_counted.back().end >= same)
        m_counted.pop_back();
    Tally tally = m_counted.empty() ? Tally{} : m_counted.back().tally;
    const qsizetype start = m_counted.empty() ? 0 : m_counted.back().end;
    m_lastLine.assign(text, text + line.size());
    return tallyFrom(line, start, tally, &m_counted) ? keyOf(tally) : LastKey;
}

LineScore LineRanking::explain(QStringView line) const
{
    Tally t;
    LineScore score;
    if (!tallyOf(line, t))
        return score;
    score.key = keyOf(t);
    score.score = LineScore::scoreOf(score.key);
    score.prefixKept = score.key < OtherTier;
    score.pieces = t.pieces;
    score.wordPieces = t.wordPieces;
    score.letters = t.letters;
    score.longestWord = t.longest;
    score.commonness = t.rarity;
    score.digitPieces = t.digitPieces;
    score.digitsAfterWords = t.scattered;
    score.numbersWithLetters = t.letterNumbers;
    score.splitGroups = t.splitGroups;
    score.typedGroups = score.prefixKept && digitLayout(t) == 0;
    score.prefixLost = t.prefixLost;
    return score;
}

LineRanking::Piece LineRanking::pieceOf(QStringView text) const
{
    Piece piece;
    piece.length = int(std::min<qsizetype>(text.size(), m_size + 1));
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        piece.digit = piece.digit || keypad::isAsciiDigit(unit);
        piece.letter =
            piece.letter || keypad::isAsciiLetter(unit) || (unit >= 0x80 && keypad::isLetter(unit));
    }
    if (!piece.digit)
        piece.rarity = rarityOf(pieceCommonness(m_words.prefixTree(), text));
    return piece;
}

int LineRanking::digitLayout(const Tally &t) const
{
    // 0 for the groups as typed; else fewer pieces, kept to the typed groups
    // (1 for the prefix in one piece).
    if (t.splitGroups == 0 && t.typedCuts == m_prefixGroupStarts)
        return 0;
    return 1 + (t.digitPieces - 1) + 2 * t.splitGroups;
}

quint32 LineRanking::keyOf(const Tally &t) const
{
    if (mayKeepPrefix(t))
        return keptPrefixKey(t.wordPieces, t.longest, digitLayout(t), t.rarity);
    const int score = weightWithoutLongest(t) + LongestWordWeight * t.longest;
    // Scores stay far inside +-2^30: a line has at most 32,767 positions.
    return OtherTier | quint32(score + ScoreOffset);
}

quint32 LineRanking::keyBound(const Tally &t, const Outlook &rest) const
{
    if (mayKeepPrefix(t) && rest.keepsPrefix) {
        // Any line that keeps the prefix ranks above every other line, and
        // its key is no better than its best parts taken one by one.
        const bool layoutKnown = t.position >= m_prefixEnd;
        return keptPrefixKey(t.wordPieces + rest.keptWordPieces,
                             std::max(t.longest, rest.keptLongestWord),
                             layoutKnown ? digitLayout(t) : 0,
                             t.rarity + rest.keptRarity);
    }
    const int score = weightWithoutLongest(t) + rest.weight[weightStateOf(t)]
                      + LongestWordWeight * std::max(t.longest, rest.longestWord);
    return OtherTier | quint32(score + ScoreOffset);
}

} // namespace engine
