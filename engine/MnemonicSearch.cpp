#include "MnemonicSearch.h"

#include "SaturatingCount.h"
#include "WordStore.h"
#include "modWords.h"

#include <algorithm>
#include <cstring>

namespace engine {

namespace {

// Loop turns of the enumeration between two pulses.
constexpr int PulseWork = 1024;
// A result line needs this many letters.
constexpr int LettersNeeded = 5;

bool isAsciiLetter(char16_t unit)
{
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

bool isAsciiDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

} // namespace

MnemonicSearch::MnemonicSearch(const WordStore &words)
    : m_words(words)
    , m_tree(words.prefixTree())
    , m_below(1, 0)
{}

void MnemonicSearch::start(const QStringList &choices, bool keepMixed, bool keepWordsOnly)
{
    const bool wordsOnly = keepWordsOnly && !keepMixed;
    m_size = int(choices.size());
    m_choices.clear();
    m_choicesBegin.assign(1, 0);
    m_minusPossible = false;
    bool everyPositionHasAChoice = true;
    for (const QString &position : choices) {
        bool anyAllowed = false;
        for (const QChar c : position) {
            Choice choice{};
            choice.unit = c.unicode();
            if (choice.unit < 0x80) {
                choice.simple = true;
                choice.lower = (choice.unit >= u'A' && choice.unit <= u'Z') ? choice.unit + 32
                                                                           : choice.unit;
            } else if (!c.isSurrogate()) {
                const QString lower = QString(c).toLower();
                choice.simple = lower.size() == 1 && !lower.front().isSurrogate();
                choice.lower = choice.simple ? lower.front().unicode() : choice.unit;
            }
            choice.letter = isAsciiLetter(choice.unit);
            choice.digit = isAsciiDigit(choice.unit);
            choice.allowed = !(wordsOnly && choice.digit);
            m_minusPossible = m_minusPossible || choice.unit == u'-';
            anyAllowed = anyAllowed || choice.allowed;
            m_choices.push_back(choice);
        }
        everyPositionHasAChoice = everyPositionHasAChoice && anyAllowed;
        m_choicesBegin.push_back(int(m_choices.size()));
    }

    m_below.assign(m_size + 1, 0);
    m_lettersFrom.assign(m_size + 1, 0);
    for (int position = m_size - 1; position >= 0; --position) {
        const int begin = m_choicesBegin[position];
        const int end = m_choicesBegin[position + 1];
        m_below[position] = saturatingMultiply(end - begin,
                                               saturatingAdd(1, m_below[position + 1]));
        const bool letter = std::any_of(m_choices.begin() + begin,
                                        m_choices.begin() + end,
                                        [](const Choice &c) { return c.allowed && c.letter; });
        m_lettersFrom[position] = m_lettersFrom[position + 1] + (letter ? 1 : 0);
    }
    m_hopeless = (!keepMixed && !keepWordsOnly) || !everyPositionHasAChoice
                 || m_lettersFrom.front() < LettersNeeded;

    m_pieces.assign(1, Piece{0, WordPrefixTree::Root, -1, {}});
    m_edges.clear();
    m_frames.assign(std::max(m_size, 1), Frame{});
    m_frames.front() = Frame{m_choicesBegin.front(), 0, 0, 1, 0, 0};
    m_depth = 0;
    m_atLeaf = false;
    m_finished = m_size == 0;
    m_work = 0;
    m_combination.fill(u' ', m_size);
    m_hasDigit = false;
    m_cutsReady = false;
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
    if (accepted)
        m_edges.push_back(Edge{next.start, unchecked ? EdgeState::Unchecked : EdgeState::Accepted});
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
        m_edges.resize(frame.edgesEnd);
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
            m_edges.resize(parent.edgesEnd);
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
        const int edgesMark = int(m_edges.size());
        const bool last = position + 1 == m_size;
        for (int i = frame.piecesBegin; i < frame.piecesEnd; ++i)
            advance(m_pieces[i], choice, position, last);
        m_combination[position] = QChar(choice.unit);
        const bool cut = int(m_edges.size()) > edgesMark;
        if (last) {
            if (cut) {
                m_atLeaf = true;
                m_leafEdgesBegin = edgesMark;
                m_hasDigit = std::any_of(m_combination.cbegin(),
                                         m_combination.cend(),
                                         [](QChar c) { return isAsciiDigit(c.unicode()); });
                return true;
            }
            m_edges.resize(edgesMark);
            continue;
        }
        if (cut)
            m_pieces.push_back(Piece{position + 1, WordPrefixTree::Root, -1, {}});
        if (int(m_pieces.size()) == piecesMark) {
            count = saturatingAdd(count, m_below[position + 1]);
            m_edges.resize(edgesMark);
            continue;
        }
        m_frames[position + 1] = Frame{m_choicesBegin[position + 1],
                                       letters,
                                       piecesMark,
                                       int(m_pieces.size()),
                                       edgesMark,
                                       int(m_edges.size())};
        ++m_depth;
    }
}

bool MnemonicSearch::edgeAccepted(Edge &edge, int end)
{
    if (edge.state == EdgeState::Unchecked) {
        const bool accepted = modWords::AcceptsPiece(
            m_words, QStringView(m_combination).sliced(edge.start, end - edge.start));
        edge.state = accepted ? EdgeState::Accepted : EdgeState::Rejected;
    }
    return edge.state == EdgeState::Accepted;
}

void MnemonicSearch::prepareCuts()
{
    m_cutsReady = false;
    m_cutSteps.clear();
    if (!m_atLeaf)
        return;
    const int size = m_size;
    auto edgesEndingAt = [this, size](int end) {
        return end == size ? std::pair(m_leafEdgesBegin, int(m_edges.size()))
                           : std::pair(m_frames[end].edgesBegin, m_frames[end].edgesEnd);
    };

    // Which positions a cut can go on from to the end, checking the unusual
    // pieces on the way.
    m_canFinish.assign(size + 1, 0);
    m_canFinish[size] = 1;
    for (int end = size; end >= 1; --end) {
        if (!m_canFinish[end])
            continue;
        const auto [begin, stop] = edgesEndingAt(end);
        for (int i = begin; i < stop; ++i) {
            if (edgeAccepted(m_edges[i], end))
                m_canFinish[m_edges[i].start] = 1;
        }
    }

    // The pieces that lead on to the end, per start, shortest first.
    m_outBegin.assign(size + 2, 0);
    for (int end = 1; end <= size; ++end) {
        if (!m_canFinish[end])
            continue;
        const auto [begin, stop] = edgesEndingAt(end);
        for (int i = begin; i < stop; ++i) {
            if (m_edges[i].state == EdgeState::Accepted)
                ++m_outBegin[m_edges[i].start + 1];
        }
    }
    for (int position = 0; position <= size; ++position)
        m_outBegin[position + 1] += m_outBegin[position];
    m_outEnds.resize(m_outBegin[size + 1]);
    m_outFill.assign(m_outBegin.begin(), m_outBegin.end() - 1);
    for (int end = 1; end <= size; ++end) {
        if (!m_canFinish[end])
            continue;
        const auto [begin, stop] = edgesEndingAt(end);
        for (int i = begin; i < stop; ++i) {
            if (m_edges[i].state == EdgeState::Accepted)
                m_outEnds[m_outFill[m_edges[i].start]++] = end;
        }
    }

    m_dashed.resize(size);
    for (int i = 0; i < size; ++i) {
        const char16_t unit = m_combination.at(i).unicode();
        m_dashed[i] = unit == u' ' ? u'-' : unit;
    }
    m_buffer.clear();
    if (m_canFinish[0])
        m_cutSteps.push_back(CutStep{0, m_outBegin[0] - 1, 0});
    m_cutsReady = true;
}

bool MnemonicSearch::nextCut()
{
    if (!m_cutsReady)
        return false;
    while (!m_cutSteps.empty()) {
        CutStep &step = m_cutSteps.back();
        if (++step.edge == m_outBegin[step.position + 1]) {
            m_cutSteps.pop_back();
            continue;
        }
        const int start = step.position;
        const int end = m_outEnds[step.edge];
        m_buffer.resize(step.bufferSize);
        m_buffer.push_back(u'-');
        m_buffer.insert(m_buffer.end(), m_dashed.begin() + start, m_dashed.begin() + end);
        if (end < m_size) {
            m_cutSteps.push_back(CutStep{end, m_outBegin[end] - 1, qsizetype(m_buffer.size())});
            continue;
        }
        // A whole cut: the line is the buffer without its outer "-" (blanks).
        auto first = m_buffer.cbegin();
        auto last = m_buffer.cend();
        while (first != last && *first == u'-')
            ++first;
        while (last != first && *(last - 1) == u'-')
            --last;
        m_line.resize(last - first);
        if (first != last)
            std::copy(first, last, reinterpret_cast<char16_t *>(m_line.data()));
        return true;
    }
    return false;
}

} // namespace engine
