// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ReadingWalk.h"

#include "core/Failure.h"
#include "engine/Keypad.h"
#include "engine/SaturatingCount.h"
#include "engine/WordStore.h"

#include <algorithm>

namespace engine {

namespace {

// Loop turns of the walk between two pulses.
constexpr int PulseWork = 1024;
// A result line needs this many letters.
constexpr int LettersNeeded = 5;
// The most the open pieces may take.
constexpr std::size_t MaxOpenBytes = std::size_t(16) << 20;

} // namespace

ReadingWalk::ReadingWalk(const WordStore &words)
    : m_tree(words.prefixTree())
    , m_pieces(words, m_reading)
{}

void ReadingWalk::start(const QStringList &choices, bool keepMixed, bool keepWordsOnly)
{
    m_choices.read(choices, keepWordsOnly && !keepMixed);
    const int size = m_choices.size();
    const bool hopeless = (!keepMixed && !keepWordsOnly) || !m_choices.everyPositionAllowed()
                          || m_choices.lettersFrom(0) < LettersNeeded;
    m_phase = size == 0 ? Phase::Finished : hopeless ? Phase::Hopeless : Phase::Walking;
    m_open.assign(1, OpenPiece{0, WordPrefixTree::Root, -1, {}});
    m_pieces.reset(size);
    m_frames.assign(std::max(size, 1), Frame{});
    m_frames.front() = Frame{m_choices.first(0), 0, 0, 1, 0};
    m_depth = 0;
    m_reading.fill(u' ', size);
    m_dashed.assign(size, u' ');
    m_hasDigit = false;
    m_prefixCount = 0;
    m_work = 0;
}

void ReadingWalk::goBackTo(const Frame &frame)
{
    m_open.resize(frame.openEnd);
    m_pieces.truncate(frame.piecesMark);
}

void ReadingWalk::advance(const OpenPiece &piece,
                          const ReadingChoices::Choice &choice,
                          int position)
{
    OpenPiece next = piece;
    const PieceStepResult step =
        stepPiece(m_tree, m_choices.minusPossible(), next, choice, position);
    if (step.accepted)
        m_pieces.add(next.start, position + 1, step.unchecked);
    if (step.alive && position + 1 < size())
        m_open.push_back(next);
}

bool ReadingWalk::next(qint64 &count, const std::function<bool()> &pulse)
{
    switch (m_phase) {
    case Phase::Finished:
        return false;
    case Phase::Hopeless:
        count = saturatingAdd(count, m_choices.stepsFrom(0));
        m_phase = Phase::Finished;
        return false;
    case Phase::AtReading:
        goBackTo(m_frames[m_depth]);
        m_phase = Phase::Walking;
        break;
    case Phase::Walking:
        break;
    }
    const int size = m_choices.size();
    for (;;) {
        if (++m_work >= PulseWork) {
            m_work = 0;
            if (!pulse()) {
                m_phase = Phase::Finished;
                return false;
            }
        }
        Frame &frame = m_frames[m_depth];
        const int position = m_depth;
        if (frame.nextChoice == m_choices.first(position + 1)) {
            if (position == 0) {
                m_phase = Phase::Finished;
                return false;
            }
            goBackTo(m_frames[--m_depth]);
            continue;
        }
        const ReadingChoices::Choice &choice = m_choices.choice(frame.nextChoice++);
        count = saturatingAdd(count, 1);
        const int letters = frame.letters + (choice.letter ? 1 : 0);
        if (!choice.allowed || letters + m_choices.lettersFrom(position + 1) < LettersNeeded) {
            count = saturatingAdd(count, m_choices.stepsFrom(position + 1));
            continue;
        }
        const int openMark = int(m_open.size());
        const int piecesMark = m_pieces.count();
        // At most one open piece and one accepted piece per open piece, and a
        // new piece: the walk stays within its memory.
        const std::size_t growth = std::size_t(frame.openEnd - frame.openBegin) + 1;
        if (!ReadingPieces::fitsBudget(m_open, growth, MaxOpenBytes) || !m_pieces.fits(growth)) {
            m_phase = Phase::Finished;
            throw core::Failure(QStringLiteral("Out of memory"));
        }
        for (int i = frame.openBegin; i < frame.openEnd; ++i)
            advance(m_open[i], choice, position);
        m_reading[position] = QChar(choice.unit);
        m_dashed[position] = choice.unit == u' ' ? u'-' : choice.unit;
        const bool cut = m_pieces.count() > piecesMark;
        if (position + 1 == size) {
            if (cut) {
                m_phase = Phase::AtReading;
                m_hasDigit = std::any_of(m_reading.cbegin(), m_reading.cend(), [](QChar c) {
                    return keypad::isAsciiDigit(c.unicode());
                });
                return true;
            }
            m_pieces.truncate(piecesMark);
            continue;
        }
        if (cut)
            m_open.push_back(OpenPiece{position + 1, WordPrefixTree::Root, -1, {}});
        if (int(m_open.size()) == openMark) {
            count = saturatingAdd(count, m_choices.stepsFrom(position + 1));
            m_pieces.truncate(piecesMark);
            continue;
        }
        m_frames[position + 1] = Frame{
            m_choices.first(position + 1), letters, openMark, int(m_open.size()), m_pieces.count()};
        if (++m_depth == size - 1)
            ++m_prefixCount;
    }
}

void ReadingWalk::markOpenStarts(std::vector<char> &marks) const
{
    const Frame &frame = m_frames[size() - 1];
    for (int i = frame.openBegin; i < frame.openEnd; ++i)
        marks[m_open[i].start] = 1;
}

} // namespace engine
