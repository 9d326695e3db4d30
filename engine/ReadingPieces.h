// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <algorithm>
#include <vector>

namespace engine {

class WordStore;

// The pieces of the reading walk's current path that are accepted (a stored
// word or a number), listed under the position where they start, their ends
// ascending; the walk adds them as it goes and takes them back as it returns.
// A piece whose acceptance needs an exact check (a character that lower-cases
// unusually, a number at the edge of the double range) is checked once, when
// a cut first needs it.
class ReadingPieces
{
public:
    enum class State : quint8 { Accepted, Unchecked, Rejected };
    struct Piece
    {
        int end;
        State state;
    };

    // The most the lists may take: a long number whose pieces stay open over
    // many positions ends with "Out of memory" instead of taking gigabytes.
    static constexpr std::size_t MaxBytes = std::size_t(24) << 20;

    // `reading`: the walk's reading, which the exact checks read.
    ReadingPieces(const WordStore &words, const QString &reading);

    // Empties the lists, for a reading of `size` positions.
    void reset(int size);
    void add(int start, int end, bool unchecked)
    {
        std::vector<Piece> &pieces = m_from[start];
        const std::size_t capacity = pieces.capacity();
        pieces.push_back(Piece{end, unchecked ? State::Unchecked : State::Accepted});
        m_fromBytes += (pieces.capacity() - capacity) * sizeof(Piece);
        m_starts.push_back(start);
    }
    // How many pieces are listed: a mark to go back to with truncate().
    int count() const { return int(m_starts.size()); }
    // Drops the pieces listed after the mark (the last ones of their starts).
    void truncate(int count)
    {
        for (int i = int(m_starts.size()) - 1; i >= count; --i)
            m_from[m_starts[i]].pop_back();
        m_starts.resize(count);
    }
    // Whether `more` pieces still fit within MaxBytes.
    bool fits(std::size_t more) const;

    std::vector<Piece> &from(int start) { return m_from[start]; }
    bool accepted(Piece &piece, int start)
    {
        return piece.state == State::Accepted
               || (piece.state == State::Unchecked && check(piece, start));
    }

    // Whether `more` elements fit in `v` without its storage growing past
    // `budget` bytes (it doubles when it grows).
    template <typename T>
    static bool fitsBudget(const std::vector<T> &v, std::size_t more, std::size_t budget)
    {
        const std::size_t needed = v.size() + more;
        if (needed <= v.capacity())
            return true;
        return std::max(needed, 2 * v.capacity()) * sizeof(T) <= budget;
    }

private:
    bool check(Piece &piece, int start);

    const WordStore &m_words;
    const QString &m_reading;
    std::vector<std::vector<Piece>> m_from;
    std::vector<int> m_starts;   // the start of every listed piece, in the order listed
    std::size_t m_fromBytes = 0; // the storage of m_from's lists
};

} // namespace engine
