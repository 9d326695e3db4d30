// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

namespace engine {

class ReadingWalk;

// The cuts that the readings of one prefix share. Readings that differ only
// in their last character have the same cuts up to their last piece: those
// cuts of the prefix are listed once, in the order in which a reading's cuts
// take them (a prefix cut after the longer ones it leads to), and each
// reading takes the ones its last piece completes. Its lines equal
// CutLister's.
//
// A prefix with more cuts than the limit is not listed (its readings are cut
// one by one), and after it the next prefixes are not tried either, twice as
// many after every further failure: neighbouring prefixes tend to have as
// many cuts, and listing them only to give up would cost more than sharing
// them saves.
class PrefixCutCache
{
public:
    static constexpr std::size_t DefaultLimit = 4096;
    // The most cuts a prefix may have (tests lower it).
    void setLimit(std::size_t cuts) { m_limit = cuts; }

    // Forgets every prefix: a new number of `size` positions.
    void reset(int size);
    // Prepares the cuts of the walk's current reading from those of its
    // prefix, listing them first when the prefix is new. False when the
    // prefix is not listed: the reading must be cut on its own.
    bool prepare(ReadingWalk &walk);
    // Writes the reading's next cut into `line`; false after the last.
    bool next(QString &line);

private:
    enum class State : quint8 { Stale, Ready, TooMany };
    // A cut of the prefix that a last piece from `start` completes; its
    // pieces so far are joined in m_text.
    struct Cut
    {
        int start;
        int textBegin;
        int textSize;
    };
    struct Visit
    {
        int start;
        std::size_t piece; // the next of the pieces from `start` to follow
        int textBegin;
        int textSize;
    };

    void list(ReadingWalk &walk);

    std::size_t m_limit = DefaultLimit;
    State m_state = State::Stale;
    quint64 m_prefix = 0; // the walk's prefix count when last seen
    int m_failures = 0;   // prefixes in a row that had too many cuts
    std::size_t m_prefixesToSkip = 0;
    std::vector<Cut> m_cuts;
    std::vector<char16_t> m_text;
    std::vector<Visit> m_visits;
    std::vector<char> m_marks; // per start: open (while listing), completed (per reading)
    std::vector<char> m_leads; // per start: a cut from there can reach an open piece
    // The reading being served.
    std::size_t m_nextCut = 0;
    const char16_t *m_dashed = nullptr;
    int m_size = 0;
    bool m_trimDashes = false;
    std::vector<char16_t> m_line; // a line before its dashes are trimmed
};

} // namespace engine
