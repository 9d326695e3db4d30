// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/PieceGraph.h"

#include "engine/PieceStep.h"
#include "engine/WordCuts.h"
#include "engine/WordStore.h"

#include <algorithm>

namespace engine {

PieceGraph::PieceGraph(const WordStore &words)
    : m_words(words)
{}

bool PieceGraph::build(const ReadingChoices &choices)
{
    m_size = choices.size();
    m_steps = 0;
    m_pieces.clear();
    m_units.clear();
    m_choiceIndexes.clear();
    m_first.assign(std::size_t(m_size) + 1, 0);
    m_path.assign(m_size, u' ');
    m_pathIndexes.assign(m_size, 0);
    for (int start = 0; start < m_size; ++start) {
        m_first[start] = int(m_pieces.size());
        if (!listFrom(choices, start))
            return false;
        const auto byEndThenChoices = [this](const Piece &a, const Piece &b) {
            if (a.end != b.end)
                return a.end < b.end;
            const quint16 *const x = choiceIndexes(a);
            const quint16 *const y = choiceIndexes(b);
            return std::lexicographical_compare(x, x + (a.end - a.start), y, y + (b.end - b.start));
        };
        std::sort(m_pieces.begin() + m_first[start], m_pieces.end(), byEndThenChoices);
    }
    m_first[m_size] = int(m_pieces.size());
    return true;
}

bool PieceGraph::listFrom(const ReadingChoices &choices, int start)
{
    const WordPrefixTree &tree = m_words.prefixTree();
    std::vector<Frame> &frames = m_frames;
    frames.clear();
    frames.push_back(Frame{OpenPiece{start, WordPrefixTree::Root, -1, {}}, choices.first(start)});
    while (!frames.empty()) {
        Frame &frame = frames.back();
        const int position = start + int(frames.size()) - 1;
        if (frame.nextChoice == choices.first(position + 1)) {
            frames.pop_back();
            continue;
        }
        const int index = frame.nextChoice++;
        const ReadingChoices::Choice &choice = choices.choice(index);
        if (!choice.allowed)
            continue;
        if (++m_steps > MaxSteps)
            return false;
        OpenPiece next = frame.piece;
        const PieceStepResult step =
            stepPiece(tree, choices.minusPossible(), next, choice, position);
        m_path[position] = choice.unit;
        m_pathIndexes[position] = quint16(index - choices.first(position));
        const int length = position + 1 - start;
        if (step.accepted
            && (!step.unchecked
                || wordcuts::acceptsPiece(m_words, QStringView(m_path.data() + start, length)))) {
            if (m_pieces.size() == MaxPieces || m_units.size() + std::size_t(length) > MaxUnits)
                return false;
            m_pieces.push_back(Piece{start, position + 1, int(m_units.size())});
            m_units.insert(m_units.end(), m_path.begin() + start, m_path.begin() + position + 1);
            m_choiceIndexes.insert(m_choiceIndexes.end(),
                                   m_pathIndexes.begin() + start,
                                   m_pathIndexes.begin() + position + 1);
        }
        if (step.alive && position + 1 < m_size)
            frames.push_back(Frame{next, choices.first(position + 1)});
    }
    return true;
}

} // namespace engine
