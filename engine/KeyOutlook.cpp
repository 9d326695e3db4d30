// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/KeyOutlook.h"

#include "engine/Keypad.h"
#include "engine/PieceGraph.h"
#include "engine/ReadingChoices.h"

#include <algorithm>
#include <array>
#include <limits>

namespace engine {

namespace {

constexpr int Unreachable = std::numeric_limits<int>::max() / 4;

} // namespace

bool KeyOutlook::build(const PieceGraph &graph,
                       const ReadingChoices &choices,
                       const LineRanking &ranking)
{
    // The ranking counts the positions without blanks.
    const int size = choices.size();
    m_rankingPosition.assign(std::size_t(size) + 1, 0);
    for (int position = 0; position < size; ++position) {
        const bool blank = choices.first(position + 1) - choices.first(position) == 1
                           && choices.choice(choices.first(position)).unit == u' ';
        m_rankingPosition[position + 1] = m_rankingPosition[position] + (blank ? 0 : 1);
    }
    if (m_rankingPosition[size] != ranking.size())
        return false;
    studyPieces(graph, ranking);
    lookAhead(graph, ranking);
    return true;
}

void KeyOutlook::studyPieces(const PieceGraph &graph, const LineRanking &ranking)
{
    // A piece's blanks show as "-" in its line, so the ranking sees the runs
    // between them as pieces of their own.
    m_rankingPieces.clear();
    m_facts.clear();
    for (const PieceGraph::Piece &piece : graph.pieces()) {
        const QStringView text = graph.text(piece);
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

void KeyOutlook::lookAhead(const PieceGraph &graph, const LineRanking &ranking)
{
    const int size = graph.size();
    const std::vector<PieceGraph::Piece> &pieces = graph.pieces();
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
        for (int p = graph.first(position); p < graph.first(position + 1); ++p) {
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

} // namespace engine
