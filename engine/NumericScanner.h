#pragma once

#include <QtGlobal>

namespace engine {

// Reads a text one UTF-16 unit at a time against the grammar of a number:
// blanks, an optional sign ("+" or "-"), digits with at most one decimal point
// and at least one digit in all, optionally an exponent (E or D in either case,
// an optional sign, one or more digits), blanks. Only the space counts as a
// blank. Alongside the grammar it keeps the decimal magnitude of the value, so
// that a complete text can tell whether it fits a double.
class NumericScanner
{
public:
    enum class Range {
        Fits,     // below 1e308: always representable
        Overflows, // 1e309 or more
        AtLimit,  // between 1e308 and 1e309: only an exact conversion can tell
    };

    void step(char16_t unit);

    // No continuation of the text can match the grammar any more.
    bool isDead() const { return m_state == Dead; }
    // The text read so far matches the grammar (its value may still overflow).
    bool isComplete() const
    {
        return m_state == Integer || m_state == Fraction || m_state == ExponentDigits
               || m_state == Trailing;
    }
    // For a complete text; for a partial one, the range of what was read.
    Range range() const;
    // Gives up on the text: no continuation matches any more.
    void markDead() { m_state = Dead; }

private:
    enum State : quint8 {
        Leading,
        Sign,
        Integer,
        PointOnly, // a point, no digit yet
        Fraction,
        ExponentMark,
        ExponentSign,
        ExponentDigits,
        Trailing,
        Dead,
    };

    void mantissaDigit(char16_t unit, bool inFraction);

    State m_state = Leading;
    bool m_significant = false; // a non-zero mantissa digit was seen
    bool m_exponentNegative = false;
    qint64 m_integerDigits = 0; // integer digits from the first non-zero one on
    qint64 m_fractionZeros = 0; // zeros after the point before the first non-zero digit
    qint64 m_exponent = 0;      // saturates far beyond any text length
};

} // namespace engine
