// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LineRanking.h"

#include "engine/Keypad.h"
#include "engine/NumberText.h"
#include "engine/WordStore.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <limits>

namespace engine {

namespace {

// The word part of a number: its last groups holding this many characters
// (a North American local number), and the length from which it is taken to
// hold a prefix typed without a separator.
constexpr int WordPartLength = 7;
constexpr int GluedPrefixLength = 10;
// Words of up to this many ASCII letters are packed into 64 bits.
constexpr int PackedLetters = 12;
constexpr int CacheBits = 10;

constexpr quint32 KeptPrefixTier = 0;
constexpr quint32 OtherTier = quint32(1) << 31;
constexpr quint32 LastKey = ~quint32(0);

// The weights of the score of lines outside the kept-prefix tier; smaller
// scores rank higher.
constexpr int PieceWeight = 10;
constexpr int LetterWeight = -6;
constexpr int LongestWordWeight = -3;
constexpr int RarityWeight = 2;         // per rarity class of every word
constexpr int ScatteredDigitWeight = 8; // per digit piece after a word
constexpr int SplitDigitWeight = 4;     // per digit piece after the first
constexpr int LetterNumberWeight = 20;  // per digit piece with letters ("4E4")
constexpr int SplitGroupWeight = 6;     // per piece boundary inside a typed prefix group
constexpr int LostPrefixWeight = 16;    // a prefix with words in it

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
    m_cache.resize(std::size_t(1) << CacheBits);

    const auto start = std::find_if(groups.rbegin(), groups.rend(), [&](const Group &group) {
        return m_size - group.begin >= WordPartLength;
    });
    if (start == groups.rend())
        return;
    if (m_size - start->begin >= GluedPrefixLength) {
        m_prefixEnd = m_size - WordPartLength;
        m_groupStart[m_prefixEnd] = 1;
    } else {
        m_prefixEnd = start->begin;
    }
}

int LineRanking::rarityOfWord(QStringView piece, quint64 packed) const
{
    if (packed == 0)
        return rarityOf(pieceCommonness(m_words.prefixTree(), piece));
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

quint32 LineRanking::key(QStringView line) const
{
    Tally tally;
    const char16_t *const text = line.utf16();
    qsizetype size = line.size();
    for (qsizetype i = 0; i < size;) {
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
        count(tally, line.sliced(i, j - i), digit, letter, packed);
        if (tally.position > m_size)
            return LastKey;
        i = j;
    }
    return tally.position == m_size ? keyOf(tally) : LastKey;
}

void LineRanking::count(Tally &t, QStringView piece, bool digit, bool letter, quint64 packed) const
{
    const int begin = t.position;
    const int length = int(std::min<qsizetype>(piece.size(), m_size + 1));
    t.position += length;
    if (t.position > m_size)
        return;
    ++t.pieces;
    if (begin > 0 && begin < m_prefixEnd && !m_groupStart[begin])
        ++t.splitGroups;
    if (digit) {
        ++t.digitPieces;
        t.scattered += t.wordSeen ? 1 : 0;
        t.letterNumbers += letter ? 1 : 0;
        t.digitsInWords = t.digitsInWords || t.position > m_prefixEnd;
    } else {
        t.wordSeen = true;
        t.letters += length;
        t.longest = std::max(t.longest, length);
        t.rarity += rarityOfWord(piece, packed == ~quint64(0) ? 0 : packed);
        t.prefixLost = t.prefixLost || begin < m_prefixEnd;
    }
}

quint32 LineRanking::keyOf(const Tally &t) const
{
    if (m_prefixEnd > 0 && !t.prefixLost && !t.digitsInWords && t.letterNumbers == 0) {
        // Fewer pieces, the longer longest word, the more common words, then
        // the digits: fewer pieces of them, kept to the typed groups.
        const int digitLayout = (t.digitPieces - 1) + 2 * t.splitGroups;
        return KeptPrefixTier | field(t.pieces, 7) << 24 | field(63 - t.longest, 6) << 18
               | field(t.rarity, 8) << 10 | field(digitLayout, 10);
    }
    const int score =
        PieceWeight * t.pieces + LetterWeight * t.letters + LongestWordWeight * t.longest
        + RarityWeight * t.rarity + ScatteredDigitWeight * t.scattered
        + SplitDigitWeight * std::max(t.digitPieces - 1, 0) + LetterNumberWeight * t.letterNumbers
        + SplitGroupWeight * t.splitGroups + (t.prefixLost ? LostPrefixWeight : 0);
    // Scores stay far inside +-2^30: a line has at most 32,767 positions.
    return OtherTier | quint32(score + (1 << 30));
}

std::vector<quint32> orderBest(const std::vector<quint32> &keys)
{
    // A least-significant-digit radix sort of the indexes, 8 bits a pass:
    // every pass is stable, so equal keys keep their order. Passes over a
    // byte that every key shares are skipped.
    const std::size_t count = keys.size();
    std::vector<quint32> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = quint32(i);
    std::vector<quint32> next(count);
    for (int shift = 0; shift < 32; shift += 8) {
        std::array<std::size_t, 257> starts{};
        for (const quint32 key : keys)
            ++starts[((key >> shift) & 0xff) + 1];
        if (std::any_of(starts.begin() + 1, starts.end(), [&](std::size_t n) {
                return n == count;
            }))
            continue;
        for (int b = 0; b < 256; ++b)
            starts[b + 1] += starts[b];
        for (const quint32 index : order)
            next[starts[(keys[index] >> shift) & 0xff]++] = index;
        order.swap(next);
    }
    return order;
}

namespace {

// Lines held before a limited list keeps only its best ones again.
constexpr qsizetype CompactAfter = 1 << 16;

// The first `limit` distinct lines (all for -1) in ascending key order, and
// their keys.
void bestDistinct(const QStringList &lines,
                  const std::vector<quint32> &keys,
                  qsizetype limit,
                  QStringList &bestLines,
                  std::vector<quint32> *bestKeys)
{
    QSet<QString> seen;
    for (const quint32 index : orderBest(keys)) {
        if (limit >= 0 && bestLines.size() >= limit)
            break;
        const QString &line = lines.at(index);
        if (seen.contains(line))
            continue;
        seen.insert(line);
        bestLines.append(line);
        if (bestKeys)
            bestKeys->push_back(keys[index]);
    }
}

} // namespace

RankedLines::RankedLines(const WordStore &words, QStringView typed, qsizetype limit)
    : m_ranking(words, typed)
    , m_limit(limit)
    // Four times the limit, the largest count there is for a larger one.
    , m_compactAt(limit < 0 ? -1
                  : limit > std::numeric_limits<qsizetype>::max() / 4
                      ? std::numeric_limits<qsizetype>::max()
                      : std::max(CompactAfter, 4 * limit))
{}

void RankedLines::add(const QString &line)
{
    m_lines.append(line);
    m_keys.push_back(m_ranking.key(line));
    ++m_added;
    if (m_compactAt >= 0 && m_lines.size() >= m_compactAt)
        compact();
}

void RankedLines::compact()
{
    // The lines dropped here cannot come back among the best: later lines
    // only push them further down, and the kept ones stay ahead of later
    // lines of the same key.
    QStringList lines;
    std::vector<quint32> keys;
    bestDistinct(m_lines, m_keys, m_limit, lines, &keys);
    m_lines.swap(lines);
    m_keys.swap(keys);
}

QStringList RankedLines::best() const
{
    QStringList lines;
    bestDistinct(m_lines, m_keys, m_limit, lines, nullptr);
    return lines;
}

} // namespace engine
