// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/BestLineSearch.h"

#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/Keypad.h"

#include <algorithm>

namespace engine {

namespace {

// A result line needs this many letters.
constexpr int LettersNeeded = 5;
// Search steps between two pulses.
constexpr int PulseSteps = 1024;

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
        m_held.reset(0);
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
    m_held.reset(limit);
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
    if (!m_outlook.build(m_graph, m_choices, ranking))
        return Outcome::Declined; // the choices are not those of the typed number
    return search(ranking, pulse) ? Outcome::Done : Outcome::Stopped;
}

QStringList BestLineSearch::lines() const
{
    return m_held.lines();
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
        const KeyOutlook::PieceFacts &facts = m_outlook.facts(p);
        if (!m_outlook.reaches(piece.end)
            || letters + facts.letters + m_outlook.mostLetters(piece.end) < LettersNeeded)
            continue;
        Child child{p, 0, tally, letters + facts.letters};
        for (int i = facts.rankingBegin; i < facts.rankingEnd; ++i)
            ranking.count(child.tally, m_outlook.rankingPiece(i));
        child.bound = piece.end == size
                          ? ranking.keyOf(child.tally)
                          : ranking.keyBound(child.tally, m_outlook.outlook(piece.end));
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
    if (!m_outlook.reaches(0) || m_outlook.mostLetters(0) < LettersNeeded)
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
        if (!m_held.mayEnter(child.bound, m_pathChoices.data(), piece.end)) {
            // The children come by bound: none after a worse one can enter.
            if (!m_held.keyMayEnter(child.bound))
                frame.next = frame.childEnd;
            continue;
        }
        if (piece.end == size) {
            offerPath(child.bound);
            continue;
        }
        // `child` lives in m_children, which expand() grows.
        const LineRanking::Tally tally = child.tally;
        expand(ranking, piece.end, tally, child.letters);
    }
    return true;
}

void BestLineSearch::offerPath(quint32 key)
{
    HeldLines::Found found{m_pathChoices, {}};
    found.ends.reserve(m_frames.size());
    for (const Frame &frame : m_frames)
        found.ends.push_back(m_graph.pieces()[frame.piece].end);
    m_held.offer(key, std::move(found), pathLine());
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
