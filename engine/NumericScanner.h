// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

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
        Fits,      // below 1e308: always representable
        Overflows, // 1e309 or more
        AtLimit,   // between 1e308 and 1e309: only an exact conversion can tell
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

// The scanner runs for every open piece at every step of the mnemonic
// search, so it is inline.
namespace detail {

inline constexpr qint64 ExponentCeiling = Q_INT64_C(1000000000000000);

inline bool isDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

inline bool isExponentMark(char16_t unit)
{
    return unit == u'e' || unit == u'E' || unit == u'd' || unit == u'D';
}

} // namespace detail

inline void NumericScanner::mantissaDigit(char16_t unit, bool inFraction)
{
    if (inFraction) {
        if (!m_significant) {
            if (unit == u'0')
                ++m_fractionZeros;
            else
                m_significant = true;
        }
        return;
    }
    if (unit != u'0')
        m_significant = true;
    if (m_significant)
        ++m_integerDigits;
}

inline void NumericScanner::step(char16_t unit)
{
    switch (m_state) {
    case Leading:
        if (unit == u' ')
            return;
        if (unit == u'+' || unit == u'-') {
            m_state = Sign;
            return;
        }
        [[fallthrough]];
    case Sign:
        if (detail::isDigit(unit)) {
            mantissaDigit(unit, false);
            m_state = Integer;
        } else if (unit == u'.') {
            m_state = PointOnly;
        } else {
            m_state = Dead;
        }
        return;
    case Integer:
        if (detail::isDigit(unit))
            mantissaDigit(unit, false);
        else if (unit == u'.')
            m_state = Fraction;
        else if (detail::isExponentMark(unit))
            m_state = ExponentMark;
        else
            m_state = unit == u' ' ? Trailing : Dead;
        return;
    case PointOnly:
        if (detail::isDigit(unit)) {
            mantissaDigit(unit, true);
            m_state = Fraction;
        } else {
            m_state = Dead;
        }
        return;
    case Fraction:
        if (detail::isDigit(unit))
            mantissaDigit(unit, true);
        else if (detail::isExponentMark(unit))
            m_state = ExponentMark;
        else
            m_state = unit == u' ' ? Trailing : Dead;
        return;
    case ExponentMark:
        if (unit == u'+' || unit == u'-') {
            m_exponentNegative = unit == u'-';
            m_state = ExponentSign;
            return;
        }
        [[fallthrough]];
    case ExponentSign:
    case ExponentDigits:
        if (detail::isDigit(unit)) {
            if (m_exponent < detail::ExponentCeiling)
                m_exponent = m_exponent * 10 + (unit - u'0');
            m_state = ExponentDigits;
        } else {
            m_state = unit == u' ' && m_state == ExponentDigits ? Trailing : Dead;
        }
        return;
    case Trailing:
        if (unit != u' ')
            m_state = Dead;
        return;
    case Dead:
        return;
    }
}

inline NumericScanner::Range NumericScanner::range() const
{
    if (!m_significant)
        return Range::Fits; // the value is zero
    // The value is 0.d1d2... times ten to the power `magnitude`, with d1 non-zero;
    // the largest double, 1.797...e308, has magnitude 309.
    const qint64 magnitude = (m_integerDigits > 0 ? m_integerDigits : -m_fractionZeros)
                             + (m_exponentNegative ? -m_exponent : m_exponent);
    if (magnitude <= 308)
        return Range::Fits;
    if (magnitude >= 310)
        return Range::Overflows;
    return Range::AtLimit;
}

} // namespace engine
