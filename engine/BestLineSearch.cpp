// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/BestLineSearch.h"

#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/Keypad.h"

#include <algorithm>
#include <array>
#include <limits>

namespace engine {

namespace {

// A result line needs this many letters.
constexpr int LettersNeeded = 5;
// Search steps between two pulses.
constexpr int PulseSteps = 1024;
constexpr int Unreachable = std::numeric_limits<int>::max() / 4;

} // namespace

BestLineSearch::BestLineSearch(const WordStore &words)
    : m_words(words)
    , m_graph(words)
{}

BestLineSearch::Outcome BestLineSearch::find(const DictionaryKeypad &keypad,
                                             const QString &typed,
                                             bool keepMixed,
                                             bool keepWordsOnly,
                                             qsizetype limit,
                                             const std::function<bool()> &pulse)
{
    const QString number = ConversionRun::normaliseNumber(typed);
    QStringList choices;
    for (const QChar c : number)
        choices.append(keypad.choicesOf(c));
    if (choices.size() < 2) {
        m_held.clear();
        return limit > MaxLimit ? Outcome::Declined : Outcome::Done;
    }
    return find(typed, choices, keepMixed, keepWordsOnly, limit, pulse);
}

BestLineSearch::Outcome BestLineSearch::find(QStringView typed,
                                             const QStringList &choices,
                                             bool keepMixed,
                                             bool keepWordsOnly,
                                             qsizetype limit,
                                             const std::function<bool()> &pulse)
{
    m_held.clear();
    m_heldTexts.clear();
    m_limit = limit;
    if (limit > MaxLimit)
        return Outcome::Declined;
    if (limit <= 0 || (!keepMixed && !keepWordsOnly))
        return Outcome::Done;
    m_choices.read(choices, keepWordsOnly && !keepMixed);
    // As the reading walk knows: no line without five letters, none where a
    // position has no choice left.
    if (!m_choices.everyPositionAllowed() || m_choices.lettersFrom(0) < LettersNeeded)
        return Outcome::Done;
    if (!m_graph.build(m_choices))
        return Outcome::Declined;
    const LineRanking ranking(m_words, typed);
    // The ranking counts the positions without blanks.
    const int size = m_choices.size();
    m_rankingPosition.assign(std::size_t(size) + 1, 0);
    for (int position = 0; position < size; ++position) {
        const bool blank = m_choices.first(position + 1) - m_choices.first(position) == 1
                           && m_choices.choice(m_choices.first(position)).unit == u' ';
        m_rankingPosition[position + 1] = m_rankingPosition[position] + (blank ? 0 : 1);
    }
    if (m_rankingPosition[size] != ranking.size())
        return Outcome::Declined; // the choices are not those of the typed number
    studyPieces(ranking);
    lookAhead(ranking);
    return search(ranking, pulse) ? Outcome::Done : Outcome::Stopped;
}

QStringList BestLineSearch::lines() const
{
    QStringList lines;
    lines.reserve(qsizetype(m_held.size()));
    for (const HeldLine &held : m_held)
        lines.append(held.text);
    return lines;
}

void BestLineSearch::studyPieces(const LineRanking &ranking)
{
    // A piece's blanks show as "-" in its line, so the ranking sees the runs
    // between them as pieces of their own.
    m_rankingPieces.clear();
    m_facts.clear();
    for (const PieceGraph::Piece &piece : m_graph.pieces()) {
        const QStringView text = m_graph.text(piece);
        PieceFacts facts{int(m_rankingPieces.size()), 0, 0, false, 0, 0, 0};
        for (qsizetype i = 0; i < text.size();) {
            if (text[i] == u' ') {
                ++i;
                continue;
            }
            qsizetype j = i;
            while (j < text.size() && text[j] != u' ')
                ++j;
            const LineRanking::Piece counted = ranking.pieceOf(text.sliced(i, j - i));
            m_rankingPieces.push_back(counted);
            if (!counted.digit) {
                ++facts.wordPieces;
                facts.rarity += counted.rarity;
                facts.longestWord = std::max(facts.longestWord, counted.length);
            }
            i = j;
        }
        facts.rankingEnd = int(m_rankingPieces.size());
        for (const QChar c : text)
            facts.letters += keypad::isLetter(c.unicode()) ? 1 : 0;
        LineRanking::Tally alone;
        alone.position = m_rankingPosition[piece.start];
        for (int i = facts.rankingBegin; i < facts.rankingEnd; ++i)
            ranking.count(alone, m_rankingPieces[i]);
        facts.keepsPrefix = ranking.mayKeepPrefix(alone);
        m_facts.push_back(facts);
    }
}

void BestLineSearch::lookAhead(const LineRanking &ranking)
{
    const int size = m_graph.size();
    const std::vector<PieceGraph::Piece> &pieces = m_graph.pieces();
    m_reaches.assign(std::size_t(size) + 1, 0);
    m_mostLetters.assign(std::size_t(size) + 1, 0);
    m_outlooks.assign(std::size_t(size) + 1, LineRanking::Outlook{});
    m_reaches[size] = 1;
    m_outlooks[size].keepsPrefix = true;
    for (int position = size - 1; position >= 0; --position) {
        LineRanking::Outlook &outlook = m_outlooks[position];
        outlook.weight.fill(Unreachable);
        outlook.keptWordPieces = Unreachable;
        outlook.keptRarity = Unreachable;
        int mostLetters = -Unreachable;
        std::array<LineRanking::Tally, LineRanking::WeightStates> starts;
        std::array<int, LineRanking::WeightStates> startWeights;
        for (int state = 0; state < LineRanking::WeightStates; ++state) {
            starts[state] = LineRanking::tallyAt(m_rankingPosition[position], state);
            startWeights[state] = ranking.weightWithoutLongest(starts[state]);
        }
        for (int p = m_graph.first(position); p < m_graph.first(position + 1); ++p) {
            const PieceGraph::Piece &piece = pieces[p];
            if (!m_reaches[piece.end])
                continue;
            m_reaches[position] = 1;
            const PieceFacts &facts = m_facts[p];
            const LineRanking::Outlook &after = m_outlooks[piece.end];
            for (int state = 0; state < LineRanking::WeightStates; ++state) {
                LineRanking::Tally tally = starts[state];
                for (int i = facts.rankingBegin; i < facts.rankingEnd; ++i)
                    ranking.count(tally, m_rankingPieces[i]);
                const int added = ranking.weightWithoutLongest(tally) - startWeights[state];
                outlook.weight[state] = std::min(
                    outlook.weight[state], added + after.weight[LineRanking::weightStateOf(tally)]);
            }
            outlook.longestWord =
                std::max({outlook.longestWord, facts.longestWord, after.longestWord});
            if (facts.keepsPrefix && after.keepsPrefix) {
                outlook.keepsPrefix = true;
                outlook.keptWordPieces =
                    std::min(outlook.keptWordPieces, facts.wordPieces + after.keptWordPieces);
                outlook.keptRarity = std::min(outlook.keptRarity, facts.rarity + after.keptRarity);
                outlook.keptLongestWord =
                    std::max({outlook.keptLongestWord, facts.longestWord, after.keptLongestWord});
            }
            mostLetters = std::max(mostLetters, facts.letters + m_mostLetters[piece.end]);
        }
        m_mostLetters[position] = mostLetters;
    }
}

void BestLineSearch::expand(const LineRanking &ranking,
                            int position,
                            const LineRanking::Tally &tally,
                            int letters)
{
    const std::vector<PieceGraph::Piece> &pieces = m_graph.pieces();
    const int size = m_graph.size();
    const int begin = int(m_children.size());
    for (int p = m_graph.first(position); p < m_graph.first(position + 1); ++p) {
        const PieceGraph::Piece &piece = pieces[p];
        const PieceFacts &facts = m_facts[p];
        if (!m_reaches[piece.end]
            || letters + facts.letters + m_mostLetters[piece.end] < LettersNeeded)
            continue;
        Child child{p, 0, tally, letters + facts.letters};
        for (int i = facts.rankingBegin; i < facts.rankingEnd; ++i)
            ranking.count(child.tally, m_rankingPieces[i]);
        child.bound = piece.end == size ? ranking.keyOf(child.tally)
                                        : ranking.keyBound(child.tally, m_outlooks[piece.end]);
        m_children.push_back(child);
    }
    // The most promising first; of equal bounds, the one found first.
    std::sort(m_children.begin() + begin, m_children.end(), [&](const Child &a, const Child &b) {
        if (a.bound != b.bound)
            return a.bound < b.bound;
        const PieceGraph::Piece &x = pieces[a.piece];
        const PieceGraph::Piece &y = pieces[b.piece];
        const quint16 *const xs = m_graph.choiceIndexes(x);
        const quint16 *const ys = m_graph.choiceIndexes(y);
        const int common = std::min(x.end, y.end) - position;
        const auto [xi, yi] = std::mismatch(xs, xs + common, ys);
        if (xi != xs + common)
            return *xi < *yi;
        return x.end < y.end;
    });
    m_frames.push_back(Frame{begin, int(m_children.size()), begin, -1});
}

bool BestLineSearch::search(const LineRanking &ranking, const std::function<bool()> &pulse)
{
    const std::vector<PieceGraph::Piece> &pieces = m_graph.pieces();
    const int size = m_graph.size();
    m_frames.clear();
    m_children.clear();
    m_pathChoices.assign(size, 0);
    if (!m_reaches[0] || m_mostLetters[0] < LettersNeeded)
        return true;
    expand(ranking, 0, LineRanking::Tally{}, 0);
    int steps = 0;
    while (!m_frames.empty()) {
        if (++steps == PulseSteps) {
            steps = 0;
            if (!pulse())
                return false;
        }
        Frame &frame = m_frames.back();
        if (frame.next == frame.childEnd) {
            m_children.resize(frame.childBegin);
            m_frames.pop_back();
            continue;
        }
        const Child &child = m_children[frame.next++];
        const PieceGraph::Piece &piece = pieces[child.piece];
        frame.piece = child.piece;
        std::copy_n(m_graph.choiceIndexes(piece),
                    piece.end - piece.start,
                    m_pathChoices.begin() + piece.start);
        if (!mayEnter(child.bound, piece.end)) {
            // The children come by bound: none after a worse one can enter.
            if (m_held.empty() || child.bound > m_held.back().key)
                frame.next = frame.childEnd;
            continue;
        }
        if (piece.end == size) {
            offer(child.bound);
            continue;
        }
        // `child` lives in m_children, which expand() grows.
        const LineRanking::Tally tally = child.tally;
        expand(ranking, piece.end, tally, child.letters);
    }
    return true;
}

bool BestLineSearch::mayEnter(quint32 key, int end) const
{
    if (qsizetype(m_held.size()) < m_limit)
        return true;
    const HeldLine &worst = m_held.back();
    if (key != worst.key)
        return key < worst.key;
    // A line of the same key enters only if it was found first.
    const auto path = m_pathChoices.begin();
    const auto [pi, wi] = std::mismatch(path, path + end, worst.choices.begin());
    return pi == path + end || *pi < *wi;
}

bool BestLineSearch::foundBefore(const HeldLine &held) const
{
    if (m_pathChoices != held.choices)
        return std::lexicographical_compare(
            m_pathChoices.begin(), m_pathChoices.end(), held.choices.begin(), held.choices.end());
    // One reading: the cut with the shorter piece first came first.
    const std::vector<PieceGraph::Piece> &pieces = m_graph.pieces();
    for (std::size_t i = 0; i < m_frames.size() && i < held.ends.size(); ++i) {
        const int end = pieces[m_frames[i].piece].end;
        if (end != held.ends[i])
            return end < held.ends[i];
    }
    return false;
}

void BestLineSearch::offer(quint32 key)
{
    QString text = pathLine();
    if (m_heldTexts.contains(text)) {
        // The same line by another cut: it ranks where it was found first.
        const auto same = std::find_if(m_held.begin(), m_held.end(), [&](const HeldLine &held) {
            return held.text == text;
        });
        if (!foundBefore(*same))
            return;
        m_held.erase(same);
        m_heldTexts.remove(text);
    }
    if (qsizetype(m_held.size()) == m_limit) {
        const HeldLine &worst = m_held.back();
        if (key > worst.key || (key == worst.key && !foundBefore(worst)))
            return;
        m_heldTexts.remove(worst.text);
        m_held.pop_back();
    }
    HeldLine line{key, m_pathChoices, {}, std::move(text)};
    for (const Frame &frame : m_frames)
        line.ends.push_back(m_graph.pieces()[frame.piece].end);
    m_heldTexts.insert(line.text);
    // After the lines of smaller keys, and of the same key found before it.
    auto at =
        std::lower_bound(m_held.begin(), m_held.end(), key, [](const HeldLine &held, quint32 k) {
            return held.key < k;
        });
    while (at != m_held.end() && at->key == key && !foundBefore(*at))
        ++at;
    m_held.insert(at, std::move(line));
}

QString BestLineSearch::pathLine() const
{
    // As the conversion run writes a cut: the pieces joined by blanks, the
    // outer blanks dropped, every other blank a "-".
    QString line;
    for (const Frame &frame : m_frames) {
        if (&frame != &m_frames.front())
            line += u' ';
        line += m_graph.text(m_graph.pieces()[frame.piece]);
    }
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line[first] == u' ')
        ++first;
    while (last > first && line[last - 1] == u' ')
        --last;
    line = line.sliced(first, last - first);
    line.replace(u' ', u'-');
    return line;
}

} // namespace engine
