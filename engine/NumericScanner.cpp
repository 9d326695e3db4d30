#include "NumericScanner.h"

namespace engine {

namespace {

constexpr qint64 ExponentCeiling = Q_INT64_C(1000000000000000);

bool isDigit(char16_t unit)
{
    return unit >= u'0' && unit <= u'9';
}

bool isExponentMark(char16_t unit)
{
    return unit == u'e' || unit == u'E' || unit == u'd' || unit == u'D';
}

} // namespace

void NumericScanner::mantissaDigit(char16_t unit, bool inFraction)
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

void NumericScanner::step(char16_t unit)
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
        if (isDigit(unit)) {
            mantissaDigit(unit, false);
            m_state = Integer;
        } else if (unit == u'.') {
            m_state = PointOnly;
        } else {
            m_state = Dead;
        }
        return;
    case Integer:
        if (isDigit(unit))
            mantissaDigit(unit, false);
        else if (unit == u'.')
            m_state = Fraction;
        else if (isExponentMark(unit))
            m_state = ExponentMark;
        else
            m_state = unit == u' ' ? Trailing : Dead;
        return;
    case PointOnly:
        if (isDigit(unit)) {
            mantissaDigit(unit, true);
            m_state = Fraction;
        } else {
            m_state = Dead;
        }
        return;
    case Fraction:
        if (isDigit(unit))
            mantissaDigit(unit, true);
        else if (isExponentMark(unit))
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
        if (isDigit(unit)) {
            if (m_exponent < ExponentCeiling)
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

NumericScanner::Range NumericScanner::range() const
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
