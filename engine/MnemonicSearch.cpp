// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/MnemonicSearch.h"

#include "core/Failure.h"
#include "engine/Keypad.h"
#include "engine/SaturatingCount.h"
#include "engine/WordCuts.h"
#include "engine/WordStore.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace engine {

namespace {

// Loop turns of the enumeration between two pulses.
constexpr int PulseWork = 1024;
// A result line needs this many letters.
constexpr int LettersNeeded = 5;
// The most text the cuts of a shared prefix may hold; beyond it (long numbers
// with many short words) the readings are cut one by one.
constexpr std::size_t MaxPrefixText = 1 << 18;
// After failures in a row, up to 2^6 - 1 prefixes are skipped before the next
// try.
constexpr int MaxPrefixBackoff = 6;
// The most the walk's open pieces and accepted pieces may take: a long number
// whose pieces stay open over many positions (long words of one key, long runs
// of digits) ends with "Out of memory" instead of taking gigabytes.
constexpr std::size_t MaxPiecesBytes = std::size_t(16) << 20;
constexpr std::size_t MaxEdgesBytes = std::size_t(24) << 20;

// Whether `more` elements fit in `v` without its storage growing past
// `budget` bytes (it doubles when it grows).
template <typename T>
bool fitsBudget(const std::vector<T> &v, std::size_t more, std::size_t budget)
{
    const std::size_t needed = v.size() + more;
    if (needed <= v.capacity())
        return true;
    return std::max(needed, 2 * v.capacity()) * sizeof(T) <= budget;
}

// Copies a few units. Fixed-size copies compile to plain moves; a library
// memmove for every piece of every line costs more than the rest of the line.
void copyUnits(char16_t *to, const char16_t *from, qsizetype count)
{
    for (; count >= 4; count -= 4, to += 4, from += 4)
        std::memcpy(to, from, 4 * sizeof(char16_t));
    for (; count > 0; --count)
        *to++ = *from++;
}

} // namespace

MnemonicSearch::MnemonicSearch(const WordStore &words)
    : m_words(words)
    , m_tree(words.prefixTree())
    , m_below(1, 0)
{}

MnemonicSearch::Choice MnemonicSearch::choiceOf(QChar c, bool wordsOnly)
{
    Choice choice{};
    choice.unit = c.unicode();
    if (choice.unit < 0x80) {
        choice.simple = true;
        choice.lower =
            (choice.unit >= u'A' && choice.unit <= u'Z') ? choice.unit + 32 : choice.unit;
    } else if (!c.isSurrogate()) {
        const QString lower = QString(c).toLower();
        choice.simple = lower.size() == 1 && !lower.front().isSurrogate();
        choice.lower = choice.simple ? keypad::lookupUnit(lower.front().unicode()) : choice.unit;
    }
    choice.letter = keypad::isLetter(choice.unit);
    choice.digit = keypad::isAsciiDigit(choice.unit);
    choice.allowed = !(wordsOnly && choice.digit);
    return choice;
}

bool MnemonicSearch::readChoices(const QStringList &choices, bool wordsOnly)
{
    m_size = int(choices.size());
    m_choices.clear();
    m_choicesBegin.assign(1, 0);
    m_minusPossible = false;
    m_hasBlank = false;
    bool everyPositionHasAChoice = true;
    for (const QString &position : choices) {
        bool anyAllowed = false;
        for (const QChar c : position) {
            const Choice choice = choiceOf(c, wordsOnly);
            m_minusPossible = m_minusPossible || choice.unit == u'-';
            m_hasBlank = m_hasBlank || choice.unit == u' ';
            anyAllowed = anyAllowed || choice.allowed;
            m_choices.push_back(choice);
        }
        everyPositionHasAChoice = everyPositionHasAChoice && anyAllowed;
        m_choicesBegin.push_back(int(m_choices.size()));
    }
    return everyPositionHasAChoice;
}

void MnemonicSearch::start(const QStringList &choices, bool keepMixed, bool keepWordsOnly)
{
    const bool everyPositionHasAChoice = readChoices(choices, keepWordsOnly && !keepMixed);

    m_below.assign(m_size + 1, 0);
    m_lettersFrom.assign(m_size + 1, 0);
    for (int position = m_size - 1; position >= 0; --position) {
        const int begin = m_choicesBegin[position];
        const int end = m_choicesBegin[position + 1];
        m_below[position] =
            saturatingMultiply(end - begin, saturatingAdd(1, m_below[position + 1]));
        const bool letter =
            std::any_of(m_choices.begin() + begin, m_choices.begin() + end, [](const Choice &c) {
                return c.allowed && c.letter;
            });
        m_lettersFrom[position] = m_lettersFrom[position + 1] + (letter ? 1 : 0);
    }
    m_hopeless = (!keepMixed && !keepWordsOnly) || !everyPositionHasAChoice
                 || m_lettersFrom.front() < LettersNeeded;

    resetWalk();
}

void MnemonicSearch::resetWalk()
{
    m_pieces.assign(1, Piece{0, WordPrefixTree::Root, -1, {}});
    m_out.resize(m_size + 1);
    for (auto &edges : m_out)
        edges.clear();
    m_edgeStarts.clear();
    m_edgeBytes = 0;
    for (const auto &edges : m_out)
        m_edgeBytes += edges.capacity() * sizeof(Edge);
    m_frames.assign(std::max(m_size, 1), Frame{});
    m_frames.front() = Frame{m_choicesBegin.front(), 0, 0, 1, 0};
    m_canFinish.assign(m_size + 1, 0);
    m_endsBegin.assign(m_size + 1, 0);
    m_endsEnd.assign(m_size + 1, 0);
    m_dashed.assign(m_size, u' ');
    m_buffer.assign(2 * qsizetype(m_size), u' ');
    m_cutSteps.assign(m_size + 1, CutStep{});
    m_cutDepth = 0;
    m_depth = 0;
    m_atLeaf = false;
    m_finished = m_size == 0;
    m_work = 0;
    m_combination.fill(u' ', m_size);
    m_hasDigit = false;
    m_cutsReady = false;
    m_prefixCutsState = PrefixCutsState::Stale;
    m_prefixFailures = 0;
    m_prefixesToSkip = 0;
    m_usePrefixCuts = false;
    m_lastPieceFrom.assign(m_size, 0);
}

void MnemonicSearch::advance(const Piece &piece, const Choice &choice, int position, bool last)
{
    Piece next = piece;
    bool alive = false;
    bool accepted = false;
    bool unchecked = false;
    if (next.limit >= 0) {
        // A piece with an unusual character: kept while a word could still be
        // that long, every length checked exactly once the reading is complete.
        alive = accepted = unchecked = position + 1 - next.start <= next.limit;
    } else if (choice.simple) {
        if (next.node != WordPrefixTree::NoNode)
            next.node = m_tree.child(next.node, choice.lower);
        if (!next.number.isDead()) {
            next.number.step(choice.lower);
            // Without a negative exponent a value that overflows only grows.
            if (!m_minusPossible && next.number.range() == NumericScanner::Range::Overflows)
                next.number.markDead();
        }
        if (next.node != WordPrefixTree::NoNode && m_tree.isWord(next.node)) {
            accepted = true;
        } else if (next.number.isComplete()) {
            switch (next.number.range()) {
            case NumericScanner::Range::Fits:
                accepted = true;
                break;
            case NumericScanner::Range::AtLimit:
                accepted = unchecked = true;
                break;
            case NumericScanner::Range::Overflows:
                break;
            }
        }
        alive = next.node != WordPrefixTree::NoNode || !next.number.isDead();
    } else if (next.node != WordPrefixTree::NoNode) {
        // The first unusual character: no number holds one, and a word must
        // begin with the lower-cased simple characters before it.
        const int simpleLength = position - next.start;
        next.limit = int(std::min<qsizetype>(simpleLength + m_tree.longestBelow(next.node),
                                             std::numeric_limits<int>::max()));
        alive = accepted = unchecked = simpleLength + 1 <= next.limit;
    }
    if (accepted) {
        std::vector<Edge> &edges = m_out[next.start];
        const std::size_t capacity = edges.capacity();
        edges.push_back(Edge{position + 1, unchecked ? EdgeState::Unchecked : EdgeState::Accepted});
        m_edgeBytes += (edges.capacity() - capacity) * sizeof(Edge);
        m_edgeStarts.push_back(next.start);
    }
    if (alive && !last)
        m_pieces.push_back(next);
}

bool MnemonicSearch::next(qint64 &count, const std::function<bool()> &pulse)
{
    if (m_finished)
        return false;
    if (m_hopeless) {
        count = saturatingAdd(count, m_below.front());
        m_finished = true;
        return false;
    }
    m_cutsReady = false;
    if (m_atLeaf) {
        m_atLeaf = false;
        const Frame &frame = m_frames[m_depth];
        m_pieces.resize(frame.piecesEnd);
        truncateEdges(frame.edgesEnd);
    }
    for (;;) {
        if (++m_work >= PulseWork) {
            m_work = 0;
            if (!pulse()) {
                m_finished = true;
                return false;
            }
        }
        Frame &frame = m_frames[m_depth];
        const int position = m_depth;
        if (frame.nextChoice == m_choicesBegin[position + 1]) {
            if (position == 0) {
                m_finished = true;
                return false;
            }
            --m_depth;
            const Frame &parent = m_frames[m_depth];
            m_pieces.resize(parent.piecesEnd);
            truncateEdges(parent.edgesEnd);
            continue;
        }
        const Choice &choice = m_choices[frame.nextChoice++];
        count = saturatingAdd(count, 1);
        const int letters = frame.letters + (choice.letter ? 1 : 0);
        if (!choice.allowed || letters + m_lettersFrom[position + 1] < LettersNeeded) {
            count = saturatingAdd(count, m_below[position + 1]);
            continue;
        }
        const int piecesMark = int(m_pieces.size());
        const int edgesMark = int(m_edgeStarts.size());
        const bool last = position + 1 == m_size;
        // At most one piece and one accepted piece per open piece, and a new
        // piece: the walk stays within its memory.
        const std::size_t growth = std::size_t(frame.piecesEnd - frame.piecesBegin) + 1;
        if (!fitsBudget(m_pieces, growth, MaxPiecesBytes)
            || !fitsBudget(m_edgeStarts, growth, MaxEdgesBytes / 4)
            || m_edgeBytes + growth * sizeof(Edge) > MaxEdgesBytes) {
            m_finished = true;
            throw core::Failure(QStringLiteral("Out of memory"));
        }
        for (int i = frame.piecesBegin; i < frame.piecesEnd; ++i)
            advance(m_pieces[i], choice, position, last);
        m_combination[position] = QChar(choice.unit);
        m_dashed[position] = choice.unit == u' ' ? u'-' : choice.unit;
        const bool cut = int(m_edgeStarts.size()) > edgesMark;
        if (last) {
            if (cut) {
                m_atLeaf = true;
                m_hasDigit = std::any_of(m_combination.cbegin(), m_combination.cend(), [](QChar c) {
                    return keypad::isAsciiDigit(c.unicode());
                });
                return true;
            }
            truncateEdges(edgesMark);
            continue;
        }
        if (cut)
            m_pieces.push_back(Piece{position + 1, WordPrefixTree::Root, -1, {}});
        if (int(m_pieces.size()) == piecesMark) {
            count = saturatingAdd(count, m_below[position + 1]);
            truncateEdges(edgesMark);
            continue;
        }
        m_frames[position + 1] = Frame{m_choicesBegin[position + 1],
                                       letters,
                                       piecesMark,
                                       int(m_pieces.size()),
                                       int(m_edgeStarts.size())};
        if (++m_depth == m_size - 1) {
            // After a prefix with too many cuts the next few prefixes are cut
            // reading by reading, twice as many after every further failure:
            // neighbouring prefixes tend to have as many cuts, and listing
            // them only to give up would cost more than sharing them saves.
            if (m_prefixCutsState != PrefixCutsState::TooMany || m_prefixesToSkip == 0)
                m_prefixCutsState = PrefixCutsState::Stale;
            else
                --m_prefixesToSkip;
        }
    }
}

void MnemonicSearch::truncateEdges(int size)
{
    // The pieces found after the mark are the last ones of their starts' lists.
    for (int i = int(m_edgeStarts.size()) - 1; i >= size; --i)
        m_out[m_edgeStarts[i]].pop_back();
    m_edgeStarts.resize(size);
}

bool MnemonicSearch::checkPiece(Edge &edge, int start)
{
    // A piece with an unusual character or a number at the edge of the
    // double range: checked exactly once, when a cut first needs it.
    const bool accepted =
        wordcuts::acceptsPiece(m_words, QStringView(m_combination).sliced(start, edge.end - start));
    edge.state = accepted ? EdgeState::Accepted : EdgeState::Rejected;
    return accepted;
}

void MnemonicSearch::buildPrefixCuts()
{
    m_prefixCuts.clear();
    m_prefixText.clear();
    m_prefixCutsState = PrefixCutsState::TooMany;
    m_prefixesToSkip = (std::size_t(1) << std::min(m_prefixFailures, MaxPrefixBackoff)) - 1;
    ++m_prefixFailures;
    // Only cuts that end where a piece is still open before the last
    // position can be completed, and only pieces leading there are followed.
    const int last = m_size - 1;
    char *const openAt = m_lastPieceFrom.data();
    std::fill(m_lastPieceFrom.begin(), m_lastPieceFrom.end(), 0);
    const Frame &frame = m_frames[last];
    for (int i = frame.piecesBegin; i < frame.piecesEnd; ++i)
        openAt[m_pieces[i].start] = 1;
    char *const leads = m_canFinish.data();
    for (int start = last; start >= 0; --start) {
        bool any = openAt[start] != 0;
        for (Edge &edge : m_out[start]) {
            if (any || edge.end >= m_size)
                break;
            any = leads[edge.end] && accepted(edge, start);
        }
        leads[start] = any;
    }
    // A depth-first walk; a cut is listed once every longer cut it leads to
    // is.
    m_prefixVisits.clear();
    if (leads[0])
        m_prefixVisits.push_back(PrefixVisit{0, 0, 0, 0});
    while (!m_prefixVisits.empty()) {
        PrefixVisit &top = m_prefixVisits.back();
        std::vector<Edge> &edges = m_out[top.start];
        if (top.edge < edges.size() && edges[top.edge].end < m_size) {
            Edge &edge = edges[top.edge++];
            if (!leads[edge.end] || !accepted(edge, top.start))
                continue;
            const PrefixVisit parent = top;
            const int textBegin = int(m_prefixText.size());
            const int pieceSize = edge.end - parent.start;
            const int textSize = parent.textSize + (parent.start > 0 ? 1 : 0) + pieceSize;
            if (m_prefixText.size() + textSize > MaxPrefixText)
                return;
            m_prefixText.resize(m_prefixText.size() + textSize);
            char16_t *const text = m_prefixText.data();
            copyUnits(text + textBegin, text + parent.textBegin, parent.textSize);
            int size = parent.textSize;
            if (parent.start > 0)
                text[textBegin + size++] = u'-';
            copyUnits(text + textBegin + size, m_dashed.data() + parent.start, pieceSize);
            m_prefixVisits.push_back(PrefixVisit{edge.end, 0, textBegin, textSize});
            continue;
        }
        if (openAt[top.start]) {
            if (m_prefixCuts.size() == m_prefixCutLimit)
                return;
            m_prefixCuts.push_back(PrefixCut{top.start, top.textBegin, top.textSize});
        }
        m_prefixVisits.pop_back();
    }
    m_prefixCutsState = PrefixCutsState::Ready;
    m_prefixFailures = 0;
}

void MnemonicSearch::prepareCuts()
{
    m_cutsReady = false;
    m_cutDepth = 0;
    m_usePrefixCuts = false;
    if (!m_atLeaf)
        return;
    if (m_prefixCutsState == PrefixCutsState::Stale)
        buildPrefixCuts();
    if (m_prefixCutsState == PrefixCutsState::Ready) {
        // The piece a start has open at the end of the reading is the last
        // one listed under it.
        for (int start = 0; start < m_size; ++start) {
            std::vector<Edge> &edges = m_out[start];
            m_lastPieceFrom[start] =
                !edges.empty() && edges.back().end == m_size && accepted(edges.back(), start);
        }
        m_nextPrefixCut = 0;
        m_usePrefixCuts = true;
        m_cutsReady = true;
        return;
    }
    // Per start, the pieces after which a cut can go on to the end (checking
    // the unusual ones on the way); a start without any cannot finish.
    // (At most one entry per piece found on the path, so m_pieceEnds never
    // needs more room than m_edgeStarts has.)
    m_pieceEnds.resize(m_edgeStarts.size());
    char *const canFinish = m_canFinish.data();
    int *const pieceEnds = m_pieceEnds.data();
    int count = 0;
    canFinish[m_size] = 1;
    for (int start = m_size - 1; start >= 0; --start) {
        m_endsBegin[start] = count;
        for (Edge &edge : m_out[start]) {
            if (canFinish[edge.end] && accepted(edge, start))
                pieceEnds[count++] = edge.end;
        }
        m_endsEnd[start] = count;
        canFinish[start] = count > m_endsBegin[start];
    }
    if (m_canFinish[0])
        m_cutSteps[m_cutDepth++] = CutStep{0, m_endsBegin[0] - 1, 0};
    m_cutsReady = true;
}

bool MnemonicSearch::nextPrefixCut()
{
    const std::size_t count = m_prefixCuts.size();
    while (m_nextPrefixCut < count) {
        const PrefixCut &cut = m_prefixCuts[m_nextPrefixCut++];
        if (!m_lastPieceFrom[cut.start])
            continue;
        const int pieceSize = m_size - cut.start;
        const int size = cut.textSize + (cut.start > 0 ? 1 : 0) + pieceSize;
        char16_t *out = m_buffer.data();
        if (!m_hasBlank) {
            // Nothing to trim: the line is written in place.
            if (m_line.size() != size)
                m_line.resize(size);
            out = reinterpret_cast<char16_t *>(m_line.data());
        }
        copyUnits(out, m_prefixText.data() + cut.textBegin, cut.textSize);
        int at = cut.textSize;
        if (cut.start > 0)
            out[at++] = u'-';
        copyUnits(out + at, m_dashed.data() + cut.start, pieceSize);
        if (m_hasBlank)
            setLine(out, out + size);
        return true;
    }
    m_cutsReady = false;
    return false;
}

void MnemonicSearch::setLine(const char16_t *first, const char16_t *last)
{
    // A blank at either end of the entry is dropped, not shown as "-".
    if (m_hasBlank) {
        while (first != last && *first == u'-')
            ++first;
        while (last != first && *(last - 1) == u'-')
            --last;
    }
    if (m_line.size() != last - first)
        m_line.resize(last - first);
    copyUnits(reinterpret_cast<char16_t *>(m_line.data()), first, last - first);
}

bool MnemonicSearch::nextCut()
{
    if (m_usePrefixCuts)
        return m_cutsReady && nextPrefixCut();
    if (!m_cutsReady || m_cutDepth == 0)
        return false;
    // The cut is a path of pieces; each step of it keeps the piece taken from
    // its position and the length of the line before that piece. The top step
    // lives in locals while the path moves.
    CutStep *const steps = m_cutSteps.data();
    const int *const pieceEnds = m_pieceEnds.data();
    const int *const endsBegin = m_endsBegin.data();
    const int *const endsEnd = m_endsEnd.data();
    char16_t *const buffer = m_buffer.data();
    const char16_t *const dashed = m_dashed.data();
    int depth = m_cutDepth;
    CutStep top = steps[depth - 1];
    int limit = endsEnd[top.position];
    for (;;) {
        if (++top.edge == limit) {
            if (--depth == 0) {
                m_cutDepth = 0;
                return false;
            }
            top = steps[depth - 1];
            limit = endsEnd[top.position];
            continue;
        }
        // The line so far, a "-" and the piece (its blanks as "-").
        const int start = top.position;
        const int end = pieceEnds[top.edge];
        int size = top.lineSize;
        if (start > 0)
            buffer[size++] = u'-';
        copyUnits(buffer + size, dashed + start, end - start);
        size += end - start;
        steps[depth - 1] = top;
        if (end < m_size) {
            top = CutStep{end, endsBegin[end] - 1, size};
            limit = endsEnd[end];
            ++depth;
            continue;
        }
        m_cutDepth = depth;
        setLine(buffer, buffer + size);
        return true;
    }
}

} // namespace engine
