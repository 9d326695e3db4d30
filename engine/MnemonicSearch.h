// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/NumericScanner.h"
#include "engine/WordPrefixTree.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace engine {

class WordStore;

// The keypad readings of one number that can give result lines, in the order
// of the full enumeration, and the cuts of each into words and numeric pieces,
// in the order of SplitIntoWords. Nothing grows with the count of readings:
// the enumeration is a depth-first walk that keeps, per position, the pieces
// still open, and skips every branch that cannot give a line:
// - no complete cut: no open piece is continued by a stored word or by the
//   number grammar;
// - "words only": a digit is chosen;
// - fewer than five letters can be reached (such a reading fails the
//   letter test, and a reading with five letters is never numeric, so the
//   numeric test needs no pruning of its own).
// The enumeration steps of skipped branches are counted all the same.
//
// Pieces are lower-cased the way QString::toLower does it. A character whose
// lower case is one non-surrogate unit maps on its own; a piece holding any
// other character (surrogates, characters that lower-case to several units)
// is followed only as far as a word could reach and then checked exactly, so
// the cuts equal those of SplitIntoWords in every case.
class MnemonicSearch
{
public:
    explicit MnemonicSearch(const WordStore &words);

    // The readings that differ only in their last character share the cuts of
    // their prefix, which are listed once, up to this many of them; a prefix
    // with more has its readings cut one by one. The lines are the same
    // either way (tests lower the limit to compare the two).
    static constexpr std::size_t DefaultPrefixCutLimit = 4096;
    void setPrefixCutLimit(std::size_t cuts) { m_prefixCutLimit = cuts; }

    // Starts a number: one choice string per position (at least two), from
    // the dictionary's keypad (DictionaryKeypad).
    // `keepMixed` and `keepWordsOnly` are the "Words and numbers" and "Words
    // only" options.
    void start(const QStringList &choices, bool keepMixed, bool keepWordsOnly);

    // Moves to the next reading that gives lines, adding the enumeration steps
    // up to it to `count` (saturating). `pulse` is called after every 1,024
    // turns of the walk (skipped branches included); when it returns false
    // the search ends. Returns false when the search has ended. The walk's
    // pieces have a fixed memory budget (40 MB): a number whose open pieces
    // would need more ends the search with the core::Failure "Out of memory".
    bool next(qint64 &count, const std::function<bool()> &pulse);

    // Whether the current reading holds a digit 0-9.
    bool combinationHasDigit() const { return m_hasDigit; }

    // Prepares the cuts of the current reading; then nextCut() steps through
    // them in order and line() is the current one, its pieces joined by "-"
    // (blanks inside pieces become "-" too, outer blanks are dropped). The
    // caller may change line(); the next cut rebuilds it.
    void prepareCuts();
    bool nextCut();
    QString &line() { return m_line; }

private:
    struct Choice
    {
        char16_t unit;
        char16_t lower; // the lower case of `unit`, when `simple`
        bool simple;    // the lower case is one non-surrogate unit
        bool letter;    // keypad::isLetter
        bool digit;     // 0-9
        bool allowed;   // may be chosen under the current options
    };
    struct Piece
    {
        int start;
        WordPrefixTree::Node node; // NoNode when no word continues the piece
        int limit;                 // -1, or the longest length still worth an exact check
        NumericScanner number;
    };
    enum class EdgeState : quint8 { Accepted, Unchecked, Rejected };
    struct Edge // an accepted piece from the start it is listed under to `end`
    {
        int end;
        EdgeState state;
    };
    struct Frame
    {
        int nextChoice;
        int letters;
        int piecesBegin, piecesEnd;
        int edgesEnd; // into m_edgeStarts
    };
    struct CutStep
    {
        int position;
        int edge; // into m_pieceEnds
        int lineSize;
    };
    // A cut of the readings' shared prefix (every position but the last) that
    // a last piece from `start` completes; its pieces so far are joined in
    // m_prefixText.
    struct PrefixCut
    {
        int start;
        int textBegin;
        int textSize;
    };
    struct PrefixVisit
    {
        int start;
        std::size_t edge; // the next of m_out[start] to follow
        int textBegin;
        int textSize;
    };
    enum class PrefixCutsState : quint8 { Stale, Ready, TooMany };

    static Choice choiceOf(QChar c, bool wordsOnly);
    // Fills the choices of every position; false when a position has none
    // that the options allow.
    bool readChoices(const QStringList &choices, bool wordsOnly);
    void resetWalk();
    void advance(const Piece &piece, const Choice &choice, int position, bool last);
    void truncateEdges(int size);
    bool accepted(Edge &edge, int start)
    {
        return edge.state == EdgeState::Accepted
               || (edge.state == EdgeState::Unchecked && checkPiece(edge, start));
    }
    bool checkPiece(Edge &edge, int start);
    void buildPrefixCuts();
    bool nextPrefixCut();
    void setLine(const char16_t *first, const char16_t *last);

    const WordStore &m_words;
    const WordPrefixTree &m_tree;

    int m_size = 0;
    std::vector<Choice> m_choices;
    std::vector<int> m_choicesBegin; // per position, into m_choices; one extra at the end
    std::vector<qint64> m_below;     // steps below a choice made at the previous position
    std::vector<int> m_lettersFrom;  // positions from here on that can give a letter
    bool m_hopeless = true;
    bool m_minusPossible = false; // without a "-" no exponent turns negative

    // The walk: a frame per position, the open pieces of every frame, and the
    // accepted pieces of the current path, listed per start (ends ascending)
    // and, for backtracking, by their starts in the order they were found.
    std::vector<Frame> m_frames;
    std::vector<Piece> m_pieces;
    std::vector<std::vector<Edge>> m_out;
    std::vector<int> m_edgeStarts;
    std::size_t m_edgeBytes = 0; // the storage of m_out's lists
    int m_depth = 0;
    bool m_atLeaf = false;
    bool m_finished = true;
    int m_work = 0;
    QString m_combination;
    bool m_hasDigit = false;

    // The cuts of the current reading.
    std::vector<char> m_canFinish;
    std::vector<int> m_pieceEnds; // per start, the ends of the pieces a cut can take
    std::vector<int> m_endsBegin;
    std::vector<int> m_endsEnd;
    std::vector<CutStep> m_cutSteps; // a step per piece of the current cut
    int m_cutDepth = 0;
    std::vector<char16_t> m_dashed; // the reading with blanks as "-"
    std::vector<char16_t> m_buffer; // the pieces so far, joined by "-"
    bool m_hasBlank = false;        // some reading holds a blank
    QString m_line;
    bool m_cutsReady = false;

    // The cuts of the shared prefix, in the order the cuts of a reading take
    // them (a prefix cut comes after the longer ones it leads to); each
    // reading takes those that its last piece completes.
    std::size_t m_prefixCutLimit = DefaultPrefixCutLimit;
    PrefixCutsState m_prefixCutsState = PrefixCutsState::Stale;
    int m_prefixFailures = 0;         // prefixes in a row that had too many cuts
    std::size_t m_prefixesToSkip = 0; // before the next try
    bool m_usePrefixCuts = false;
    std::vector<PrefixCut> m_prefixCuts;
    std::vector<PrefixVisit> m_prefixVisits;
    std::vector<char16_t> m_prefixText;
    // Per start: the reading's last piece from there is accepted (while the
    // prefix cuts are listed: a piece from there is still open).
    std::vector<char> m_lastPieceFrom;
    std::size_t m_nextPrefixCut = 0;
};

} // namespace engine
